#pragma once
// What File > Compare with... lists: the fields in which the open job and a file differ, each
// named by the entry that holds it as the user knows the entry (the channel by its number and
// name, the phone book entry by its number, the zone by its name). Channels and groups are
// matched by their channel number, not by their place in the table, so that a channel added in
// the middle of the table is one difference and not a shift of every channel after it. Values
// the program computes on every store (the links between visible entries, the clock shift, counts
// and markers) are marked, so that the dialog can keep them apart from what the user typed.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fields/Field.h"
#include "tables/JobDump.h"

namespace km::tables {

struct ComparedField {
    std::string id;        // the field's id in the first image ("pmr.channels[3].rx")
    std::string form;      // the form's caption, with ", Network 2" for the second network slot
    std::string entry;     // "Channel 012 KINGS", "Phone book entry 5"; empty for a single field
    std::string caption;   // the field's caption; "Entry" when the entry is in one image only
    std::string before;    // as the form shows it in the first image
    std::string after;     // in the second
    bool derived = false;  // computed by the program on every store, not typed by the user
};

// The values shown when an entry is in one image only.
inline constexpr const char* kEntryPresent = "present";
inline constexpr const char* kEntryAbsent = "absent";
inline constexpr const char* kEntryCaption = "Entry";

struct JobComparison {
    std::vector<ComparedField> fields;
    std::vector<ByteRange> unnamedBytes;  // differing bytes that no row names

    bool Empty() const { return fields.empty() && unnamedBytes.empty(); }
};

// Compares two images of kind `image`: the single fields in table order, then the records of
// each table (the records in use in either image), the PMR channels and groups by channel number.
JobComparison CompareJobs(fields::ImageId image, std::span<const std::uint8_t> a,
                          std::span<const std::uint8_t> b);

}  // namespace km::tables
