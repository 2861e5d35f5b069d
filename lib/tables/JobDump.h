#pragma once
// A job file by field: every row of every table as the form shows it, and the fields (then the
// bytes no row names) in which two jobs differ.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "fields/Field.h"

namespace km::tables {

// A job file read whole, with the image it holds.
struct JobBytes {
    fields::ImageId image;
    std::vector<std::uint8_t> bytes;
};

// Reads a .tnk, .pmr or .nwk job (or Setup.dat) whole; the kind comes from the name's extension
// and the size must be the image's. The error is one line for the user.
std::variant<JobBytes, std::string> ReadJobBytes(const std::filesystem::path& path);

struct DumpLine {
    std::string id;  // "header.description", "n2.network.system.sil", "pmr.channels[3].rx"
    std::string caption;
    std::string value;  // as the form shows it, one line ("\n" written as the two characters)
    // Where the form shows the field, so that a script can find it by what the user sees; empty
    // where the field has no such place.
    std::string form;     // the form's caption
    std::string page;     // the page of the form
    std::string control;  // the object name of the control that edits a row
    // A column of a record: the record's index, and where a grid shows the record the grid's
    // object name and the column's title.
    std::optional<std::size_t> record;
    std::string grid;
    std::string column;
};

// A field of two images as the form shows it in each, when the two differ: in value, or in the
// stored form of one value (each then followed by its stored bits, "254.1 (stored 80)").
struct ShownPair {
    std::string before;
    std::string after;
};
std::optional<ShownPair> ShownDifference(const fields::FieldRow& row,
                                         std::span<const std::uint8_t> a, std::size_t atA,
                                         std::span<const std::uint8_t> b, std::size_t atB);

// Every field of `bytes` (an image of kind `image`), in table order. A trunk job lists the rows
// of each network slot twice, prefixed "n1." and "n2."; record tables list the records in use
// (all of them when the table has no count).
std::vector<DumpLine> DumpImage(fields::ImageId image, std::span<const std::uint8_t> bytes);

// The dump as a JSON array of objects: "id", "caption", "value" and "form" always; "page" and
// "control" where the row has them; for a column of a record "record" (its index) and, where a
// grid shows the record, "grid" and "column".
std::string DumpAsJson(const std::vector<DumpLine>& lines);

struct FieldDifference {
    std::string id;
    std::string form;  // the form's caption
    std::string caption;
    std::string before;
    std::string after;
};
struct ByteRange {
    std::size_t begin;  // first differing byte
    std::size_t end;    // one past the last
};
struct ImageDifference {
    std::vector<FieldDifference> fields;
    std::vector<ByteRange> unnamedBytes;  // differing bytes that no row names

    bool Empty() const { return fields.empty() && unnamedBytes.empty(); }
};

// What differs between two images of one kind: the fields by id, then the byte ranges that
// differ where no row names the bytes.
ImageDifference DiffImages(fields::ImageId image, std::span<const std::uint8_t> a,
                           std::span<const std::uint8_t> b);

}  // namespace km::tables
