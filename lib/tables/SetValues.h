#pragma once
// Values of a job set by field id, as a form would set them: each value is parsed and checked by
// its row, and a job takes a list of changes whole or not at all. The list may come as the JSON
// that `dump --json` prints, so that a dump, edited, applies back.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fields/Field.h"

namespace km::tables {

inline constexpr std::string_view kUnknownFieldMessage = "No field has this id";
inline constexpr std::string_view kDerivedFieldMessage =
    "The program sets this field on every store; it cannot be set";
inline constexpr std::string_view kNotAValueMessage = "Not a value of this field";

// One value to set: the field's id as the dump prints it ("header.description",
// "n2.network.system.sil", "pmr.channels[3].rx") and the value as the form shows it (a list entry
// by its text, a number with its decimals, a text; "\n" in a memo is a line break).
struct FieldChange {
    std::string id;
    std::string value;
};

// Why a change was refused: its id and the row's own message.
struct ChangeRefusal {
    std::string id;
    std::string message;
};

// Applies `changes` in order to `bytes` (an image of kind `image`). A value the job already holds
// (as the form shows it) is left alone without a check, so a dump applies back unchanged. When a
// change is refused (an unknown id, a value its row cannot parse or its check refuses) nothing is
// written and the refusal is returned.
std::optional<ChangeRefusal> ApplyChanges(fields::ImageId image, std::span<std::uint8_t> bytes,
                                          std::span<const FieldChange> changes);

// The list of changes in a JSON array of objects with an "id" and a "value" (a string or a
// number; other members, such as the dump's "caption", are ignored). The error is one line for
// the user.
std::variant<std::vector<FieldChange>, std::string> ParseChangesJson(std::string_view text);

}  // namespace km::tables
