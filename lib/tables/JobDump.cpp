#include "tables/JobDump.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

#include "core/Files.h"
#include "fields/FieldOps.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

using fields::FieldRow;
using fields::FieldTable;
using fields::ImageId;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string OneLine(std::string text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20) {
            out += "\\u00";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        } else {
            out.push_back(ch);
        }
    }
    out.push_back('"');
}

// The bits of its bytes a row owns, in hex byte by byte ("34", "01 00").
std::string StoredBits(const FieldRow& row, std::span<const std::uint8_t> bytes,
                       std::size_t offset) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < fields::ByteWidth(row) && offset + i < bytes.size(); ++i) {
        const auto bits = static_cast<std::uint8_t>(bytes[offset + i] & fields::ByteMask(row, i));
        text += (i == 0 ? "" : " ");
        text.push_back(kHex[bits >> 4]);
        text.push_back(kHex[bits & 0x0F]);
    }
    return text;
}

// `, "name": "text"` (no comma before the first member); an empty text is left out unless
// `always`.
void AppendJsonMember(std::string& out, std::string_view name, std::string_view text, bool always) {
    if (text.empty() && !always) {
        return;
    }
    if (out.back() != '{') {
        out += ", ";
    }
    AppendJsonString(out, name);
    out += ": ";
    AppendJsonString(out, text);
}

// A field as the form shows it, on one line ("\n" written as the two characters).
std::string ShownField(const FieldRow& row, std::span<const std::uint8_t> bytes,
                       std::size_t offset) {
    return OneLine(fields::FormatField(row, fields::ReadField(row, bytes, offset)));
}

}  // namespace

std::optional<ShownPair> ShownDifference(const FieldRow& row, std::span<const std::uint8_t> a,
                                         std::size_t atA, std::span<const std::uint8_t> b,
                                         std::size_t atB) {
    const auto before = fields::ReadField(row, a, atA);
    const auto after = fields::ReadField(row, b, atB);
    if (before != after) {
        return ShownPair{OneLine(fields::FormatField(row, before)),
                         OneLine(fields::FormatField(row, after))};
    }
    // One value kept in two forms (a row that reads several stored forms as one value): the jobs
    // differ all the same, and the stored bits say how.
    if (row.readsAs != nullptr && StoredBits(row, a, atA) != StoredBits(row, b, atB)) {
        const std::string shown = OneLine(fields::FormatField(row, before));
        return ShownPair{shown + " (stored " + StoredBits(row, a, atA) + ")",
                         shown + " (stored " + StoredBits(row, b, atB) + ")"};
    }
    return std::nullopt;
}

std::variant<JobBytes, std::string> ReadJobBytes(const std::filesystem::path& path) {
    static const std::map<std::string, ImageId> kKinds = {
        {".tnk", ImageId::Trunk}, {".tct", ImageId::Trunk},   {".cct", ImageId::Pmr},
        {".pmr", ImageId::Pmr},   {".nwk", ImageId::Network}, {".dat", ImageId::Setup}};
    const auto kind = kKinds.find(Lower(path.extension().string()));
    if (kind == kKinds.end()) {
        return path.string() + ": not a job file (.tnk, .pmr, .nwk, .tct, .cct) or Setup.dat";
    }
    const std::size_t size = fields::kImageSizes[static_cast<std::size_t>(kind->second)];
    auto bytes = ReadFileBytes(path, size + 1);
    if (!bytes) {
        return path.string() + ": cannot be read";
    }
    if (bytes->size() != size) {
        return path.string() + ": " + std::to_string(bytes->size()) + " bytes, a " + kind->first +
               " file has " + std::to_string(size);
    }
    return JobBytes{kind->second, std::move(*bytes)};
}

std::vector<DumpLine> DumpImage(ImageId image, std::span<const std::uint8_t> bytes) {
    std::vector<DumpLine> lines;
    ForEachField(image, bytes, Records::InUse, [&](const PlacedField& field) {
        DumpLine line{.id = field.id,
                      .caption = std::string(field.row->caption),
                      .value = ShownField(*field.row, bytes, field.offset),
                      .form = std::string(field.table->form),
                      .page = std::string(field.row->tab)};
        if (field.records == nullptr) {
            line.control = field.row->control;
        } else {
            line.record = field.record;
            if (!field.row->control.empty()) {
                line.grid = field.row->control;
                line.column = field.row->caption;
            }
        }
        lines.push_back(std::move(line));
    });
    return lines;
}

std::string DumpAsJson(const std::vector<DumpLine>& lines) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const DumpLine& line = lines[i];
        out += i == 0 ? "\n  {" : ",\n  {";
        AppendJsonMember(out, "id", line.id, true);
        AppendJsonMember(out, "caption", line.caption, true);
        AppendJsonMember(out, "value", line.value, true);
        AppendJsonMember(out, "form", line.form, true);
        AppendJsonMember(out, "page", line.page, false);
        AppendJsonMember(out, "control", line.control, false);
        if (line.record) {
            out += ", \"record\": " + std::to_string(*line.record);
        }
        AppendJsonMember(out, "grid", line.grid, false);
        AppendJsonMember(out, "column", line.column, false);
        out += "}";
    }
    out += lines.empty() ? "]\n" : "\n]\n";
    return out;
}

ImageDifference DiffImages(ImageId image, std::span<const std::uint8_t> a,
                           std::span<const std::uint8_t> b) {
    ImageDifference difference;
    std::vector<bool> named(std::min(a.size(), b.size()), false);
    ForEachField(image, a, Records::All, [&](const PlacedField& field) {
        const std::size_t end =
            std::min(field.offset + fields::ByteWidth(*field.row), named.size());
        for (std::size_t i = field.offset; i < end; ++i) {
            named[i] = true;
        }
        if (auto shown = ShownDifference(*field.row, a, field.offset, b, field.offset)) {
            difference.fields.push_back({field.id, std::string(field.table->form),
                                         std::string(field.row->caption), std::move(shown->before),
                                         std::move(shown->after)});
        }
    });
    for (std::size_t i = 0; i < named.size(); ++i) {
        if (named[i] || a[i] == b[i]) {
            continue;
        }
        if (!difference.unnamedBytes.empty() && difference.unnamedBytes.back().end == i) {
            ++difference.unnamedBytes.back().end;
        } else {
            difference.unnamedBytes.push_back({i, i + 1});
        }
    }
    return difference;
}

}  // namespace km::tables
