#include "tables/SetValues.h"

#include <cctype>
#include <map>
#include <vector>

#include "fields/FieldOps.h"
#include "tables/Tables.h"

namespace km::tables {
namespace {

using fields::Encoding;
using fields::ImageId;

// The dump writes a memo's line breaks as the two characters "\n"; they are line breaks again.
std::string MemoText(std::string_view shown) {
    std::string out;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == '\\' && i + 1 < shown.size() && shown[i + 1] == 'n') {
            out.push_back('\n');
            ++i;
        } else {
            out.push_back(shown[i]);
        }
    }
    return out;
}

struct Place {
    const fields::FieldRow* row;
    std::size_t offset;
};

std::map<std::string, Place, std::less<>> PlacesOf(ImageId image,
                                                   std::span<const std::uint8_t> bytes) {
    std::map<std::string, Place, std::less<>> places;
    ForEachField(image, bytes, Records::All, [&](const PlacedField& field) {
        places.emplace(field.id, Place{field.row, field.offset});
    });
    return places;
}

// Writes one change; the refusal's message otherwise.
std::optional<std::string> Apply(const Place& place, std::span<std::uint8_t> bytes,
                                 const std::string& value) {
    const fields::FieldRow& row = *place.row;
    const std::string text = row.encoding == Encoding::Memo ? MemoText(value) : value;
    const auto current = fields::ReadField(row, bytes, place.offset);
    if (fields::FormatField(row, current) == text) {
        return std::nullopt;
    }
    const auto parsed = fields::ParseField(row, text);
    if (!parsed) {
        return std::string(row.choices.empty() ? kNotAValueMessage : fields::kNotInListMessage);
    }
    if (*parsed == current) {
        return std::nullopt;
    }
    if (row.derived) {
        return std::string(kDerivedFieldMessage);
    }
    if (auto message = fields::CheckField(row, *parsed)) {
        return message;
    }
    fields::WriteField(row, bytes, place.offset, *parsed);
    return std::nullopt;
}

// A small reader of the JSON the changes come in: an array of flat objects.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::variant<std::vector<FieldChange>, std::string> Changes() {
        std::vector<FieldChange> changes;
        if (!Take('[')) {
            return Error("a JSON array of {\"id\", \"value\"} objects was expected");
        }
        if (!Take(']')) {
            do {
                auto change = Object();
                if (!change) {
                    return error_;
                }
                changes.push_back(std::move(*change));
            } while (Take(','));
            if (!Take(']')) {
                return Error("',' or ']' expected");
            }
        }
        SkipBlanks();
        if (at_ != text_.size()) {
            return Error("text after the array");
        }
        return changes;
    }

  private:
    std::string Error(std::string_view what) {
        error_ = "JSON at character " + std::to_string(at_ + 1) + ": " + std::string(what);
        return error_;
    }

    void SkipBlanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }

    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    std::optional<FieldChange> Object() {
        if (!Take('{')) {
            Error("'{' expected");
            return std::nullopt;
        }
        std::optional<std::string> id;
        std::optional<std::string> value;
        if (!Take('}')) {
            do {
                auto key = String();
                if (!key) {
                    return std::nullopt;
                }
                if (!Take(':')) {
                    Error("':' expected");
                    return std::nullopt;
                }
                auto member = Value();
                if (!member) {
                    return std::nullopt;
                }
                if (*key == "id") {
                    id = std::move(member);
                } else if (*key == "value") {
                    value = std::move(member);
                }
            } while (Take(','));
            if (!Take('}')) {
                Error("',' or '}' expected");
                return std::nullopt;
            }
        }
        if (!id || !value) {
            Error("an object needs an \"id\" and a \"value\"");
            return std::nullopt;
        }
        return FieldChange{std::move(*id), std::move(*value)};
    }

    // A string, or a number kept as it is written.
    std::optional<std::string> Value() {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == '"') {
            return String();
        }
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-' ||
                text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E' || text_[at_] == '+')) {
            ++at_;
        }
        if (at_ == start) {
            Error("a string or a number expected");
            return std::nullopt;
        }
        return std::string(text_.substr(start, at_ - start));
    }

    std::optional<std::string> String() {
        if (!Take('"')) {
            Error("'\"' expected");
            return std::nullopt;
        }
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                Error("a control character inside a string");
                return std::nullopt;
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (at_ >= text_.size()) {
                break;
            }
            const char escaped = text_[at_++];
            static constexpr std::string_view kFrom = "\"\\/bfnrt";
            static constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
            if (const auto i = kFrom.find(escaped); i != std::string_view::npos) {
                out.push_back(kTo[i]);
            } else if (escaped != 'u' || !CodePoint(out)) {
                Error("a bad escape inside a string");
                return std::nullopt;
            }
        }
        if (at_ >= text_.size()) {
            Error("a string is not closed");
            return std::nullopt;
        }
        ++at_;
        return out;
    }

    std::optional<std::uint32_t> Hex4() {
        if (at_ + 4 > text_.size()) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                              : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                              : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                          : -1;
            if (digit < 0) {
                return std::nullopt;
            }
            value = value << 4 | static_cast<std::uint32_t>(digit);
        }
        return value;
    }

    // "\uXXXX" (a pair of them for a character beyond the first plane) as UTF-8.
    bool CodePoint(std::string& out) {
        auto unit = Hex4();
        if (!unit) {
            return false;
        }
        std::uint32_t code = *unit;
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (at_ + 2 > text_.size() || text_[at_] != '\\' || text_[at_ + 1] != 'u') {
                return false;
            }
            at_ += 2;
            const auto low = Hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                return false;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return false;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | code >> 12));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | code >> 18));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

std::optional<ChangeRefusal> ApplyChanges(ImageId image, std::span<std::uint8_t> bytes,
                                          std::span<const FieldChange> changes) {
    if (changes.empty()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    const auto places = PlacesOf(image, copy);
    for (const FieldChange& change : changes) {
        const auto place = places.find(change.id);
        if (place == places.end()) {
            return ChangeRefusal{change.id, std::string(kUnknownFieldMessage)};
        }
        if (auto message = Apply(place->second, copy, change.value)) {
            return ChangeRefusal{change.id, std::move(*message)};
        }
    }
    std::copy(copy.begin(), copy.end(), bytes.begin());
    return std::nullopt;
}

std::variant<std::vector<FieldChange>, std::string> ParseChangesJson(std::string_view text) {
    return JsonReader(text).Changes();
}

}  // namespace km::tables
