#pragma once
// Every check of every field over a whole image, not only the fields a user visited: what
// Program Radio runs before it starts and `km700rcp-cli verify` prints.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fields/Field.h"

namespace km::tables {

// An error blocks programming; a warning (a code no list entry names, a text longer than the form
// lets one type: values the radio may still take) asks first.
enum class Severity { Warning, Error };

struct Finding {
    Severity severity;
    std::string form;     // the form's caption
    std::string tab;      // the page of the form, empty when the form has none
    std::string caption;  // the field's caption
    std::string id;       // the field's id, as the dump names it
    std::string control;  // the object name of the control that edits it, empty when none
    std::string message;  // the check's own message
};

// The findings of `bytes` (an image of kind `image`), in table order. The per-network tables of a
// trunk job are checked for the networks the job holds; record tables for the records in use.
std::vector<Finding> VerifyImage(fields::ImageId image, std::span<const std::uint8_t> bytes);

// One line: "error: Radio Type > Radio > Radio Mode (header.radio_mode): <message>".
std::string FindingLine(const Finding& finding);

bool HasErrors(const std::vector<Finding>& findings);

}  // namespace km::tables
