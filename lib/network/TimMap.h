#pragma once
// Thresholds and timers of a network file: the call duration limits, the protocol timers and the
// error limits. Offsets count from the start of the network file.

#include <array>
#include <cstdint>
#include <string_view>

#include "fields/Field.h"
#include "image/Images.h"
#include "network/SysMap.h"

namespace km {

namespace timer_rows {

using fields::Encoding;

inline constexpr fields::Choice kTsclimChoices[] = {{0, "TSCLIM Ignored - CLIM always used"},
                                                    {1, "CLIM overridden by TSCLIM"}};

// A call duration word: 0 no limit, 1..9 minutes (the value plus 4), 10..254 seconds. The form
// shows the unit and the number; the row holds the word.
constexpr fields::FieldRow Duration(std::string_view id, std::string_view caption,
                                    std::int32_t at) {
    return {.id = id,
            .caption = caption,
            .at = {.network = at},
            .encoding = Encoding::U16,
            .min = 0,
            .max = 254};
}

// A protocol timer of the "Timers" grid: the name is the text of the grid's first column.
constexpr fields::FieldRow Timer(std::string_view id, std::string_view name, std::int32_t at,
                                 std::int64_t low, std::int64_t high, std::int64_t defaultValue) {
    return {.id = id,
            .caption = name,
            .at = {.network = at},
            .encoding = Encoding::U16,
            .min = low,
            .max = high,
            .defaultValue = defaultValue};
}

// One cell of the "Error Limits" grid: a byte.
constexpr fields::FieldRow ErrorLimit(std::string_view id, std::string_view caption,
                                      std::int32_t at, std::int64_t low, std::int64_t high,
                                      std::int64_t defaultValue) {
    return {.id = id,
            .caption = caption,
            .at = {.network = at},
            .min = low,
            .max = high,
            .defaultValue = defaultValue};
}

inline constexpr fields::FieldRow kRows[] = {
    Duration("network.timers.call_time_limit",
             "Speech call time limit CLIM (0 none, 1-9 minutes - 4, 10-254 seconds)", 392),
    Duration("network.timers.emergency_call_limit",
             "Emergency call limit CLIME (0 none, 1-9 minutes - 4, 10-254 seconds)", 394),
    Duration("network.timers.data_call_duration",
             "Data call duration TU (0 none, 1-9 minutes - 4, 10-254 seconds)", 396),
    {.id = "network.timers.tsclim_control",
     .caption = "TSCLIM Control",
     .control = "RadioGrp_CAL_TSCLIMcontrol",
     .at = {.network = 398},
     .encoding = Encoding::U16,
     .choices = kTsclimChoices},
    // The "Timers" grid, in its row order (TJ is stored after TL).
    Timer("network.timers.ta", "TA  - Called radio unit timeout (sec)", 400, 10, 120, 60),
    Timer("network.timers.tb", "TB  - Time barred from calling ident after ack (sec)", 402, 0, 255,
          2),
    Timer("network.timers.tc", "TC  - Random Access Timeout (sec)", 404, 0, 120, 60),
    {.id = "network.timers.td",
     .caption = "TD  - Registration Record Timeout (min)",
     .at = {.network = 406},
     .encoding = Encoding::U16,
     .min = 0,
     .max = 70,
     .defaultValue = 10,
     .scale = {.div = 60}},  // stored in seconds
    Timer("network.timers.tf", "TF  - Vaue of TS in fallback mode (sec)", 408, 0, 255, 180),
    Timer("network.timers.tgi", "TGI - Incoming Short Data Timer (sec)", 410, 1, 15, 5),
    Timer("network.timers.tgg", "TGG - Group Incoming Short Data Timer (sec)", 412, 1, 30, 10),
    Timer("network.timers.th", "TH  - Sampling Activity Duration (slots)", 414, 0, 100, 4),
    Timer("network.timers.ti", "TI  - Timeout, waiting for include call (sec)", 416, 0, 255, 2),
    Timer("network.timers.tj", "TJ  - Further signalling Timeout (sec)", 420, 0, 60, 10),
    Timer("network.timers.tl", "TL  - Sampling Activity Interval (sec) ", 418, 0, 320, 20),
    Timer("network.timers.tn", "TN  - Traffic Channel Timeout (sec) ", 422, 0, 10, 7),
    Timer("network.timers.tp", "TP  - Maximum interval between periodic messages (sec)", 424, 0,
          255, 5),
    Timer("network.timers.tr", "TR  - Delay at start of NPD calls (mSec)", 426, 0, 255, 250),
    Timer("network.timers.ts", "TS  - Delay before leaving a Control Channel (sec)", 428, 0, 10, 5),
    Timer("network.timers.tt", "TT  - Maximum Item Duration (sec)", 430, 0, 60, 60),
    Timer("network.timers.tw", "TW  - Timout, radio waiting for a call (sec)", 432, 10, 120, 60),
    Timer("network.timers.tx", "TX  - Value of TC in fallback mode", 434, 0, 255, 180),
    // The "Error Limits" grid: each row a Continuous and a Time Shared byte.
    ErrorLimit("network.timers.nc1_continuous",
               "NC1 - Error check before confirmation (Continuous)", 440, 0, 255, 2),
    ErrorLimit("network.timers.nc1_time_shared",
               "NC1 - Error check before confirmation (Time Shared)", 441, 0, 255, 2),
    ErrorLimit("network.timers.nc2_continuous", "NC2 - Error check after confirmation (Continuous)",
               442, 0, 255, 2),
    ErrorLimit("network.timers.nc2_time_shared",
               "NC2 - Error check after confirmation (Time Shared)", 443, 0, 255, 2),
    ErrorLimit("network.timers.nx1_continuous",
               "NX1 - Error Codewords Limit before confirmation (Continuous)", 444, 0, 255, 3),
    ErrorLimit("network.timers.nx1_time_shared",
               "NX1 - Error Codewords Limit before confirmation (Time Shared)", 445, 0, 255, 3),
    ErrorLimit("network.timers.nx2_continuous",
               "NX2 - Error Codewords Limit after confirmation (Continuous)", 446, 0, 255, 3),
    ErrorLimit("network.timers.nx2_time_shared",
               "NX2 - Error Codewords Limit after confirmation (Time Shared)", 447, 0, 255, 3),
    ErrorLimit("network.timers.nz1_continuous",
               "NZ1 - Number of samples with no Error events (Continuous)", 448, 1, 255, 4),
    ErrorLimit("network.timers.nz1_time_shared",
               "NZ1 - Number of samples with no Error events (Time Shared)", 449, 1, 255, 4),
    ErrorLimit("network.timers.nz2_continuous",
               "NZ2 - Number of contiguous Error samples (Continuous)", 450, 1, 255, 3),
    ErrorLimit("network.timers.nz2_time_shared",
               "NZ2 - Number of contiguous Error samples (Time Shared)", 451, 1, 255, 3),
    ErrorLimit("network.timers.nv_continuous",
               "NV  - Number of consecutive CSCC's for verification (Continuous)", 452, 1, 16, 2),
    ErrorLimit("network.timers.nv_time_shared",
               "NV  - Number of consecutive CSCC's for verification (Time Shared)", 453, 1, 16, 2),
    {.id = "network.timers.ns",
     .caption = "NS - RSSI samples before a prospective control channel is selected",
     .control = "Edit_ERR_NS",
     .at = {.network = 454},
     .encoding = Encoding::U16,
     .min = 1,
     .max = 10,
     .defaultValue = 3},
    {.id = "network.timers.nt",
     .caption = "NT - Maximum TSC delay to unsolicited traffic channel messages",
     .control = "Edit_ERR_NT",
     .at = {.network = 456},
     .encoding = Encoding::U16,
     .min = 1,
     .max = 12,
     .defaultValue = 6},
};
static_assert(fields::RowsValid(kRows, fields::ImageId::Network, NetworkImage::kSize));

inline constexpr fields::FieldTable kTable = {.id = "network.timers",
                                              .form = "Thresholds and Timers",
                                              .area = fields::Area::NetworkFile,
                                              .rows = kRows};

inline constexpr int kDurationCount = 3;
inline constexpr int kTimerCount = 18;
inline constexpr int kErrorLimitCount = 7;
inline constexpr std::size_t kFirstTimer = 4;
inline constexpr std::size_t kFirstErrorLimit = kFirstTimer + kTimerCount;

// The duration rows (speech, emergency, data), the timer rows in grid order and the error limit
// rows (Continuous, Time Shared) in grid order.
inline constexpr std::span<const fields::FieldRow, kDurationCount> kDurations{kRows, 3};
inline constexpr std::span<const fields::FieldRow, kTimerCount> kTimers{kRows + kFirstTimer,
                                                                        kTimerCount};
constexpr const fields::FieldRow& ErrorLimitRow(int line, int column) {
    return kRows[kFirstErrorLimit + static_cast<std::size_t>(2 * line + column)];
}
// The names of the error limit grid's first column.
inline constexpr std::array<std::string_view, kErrorLimitCount> kErrorLimitNames = {
    "NC1 - Error check before confirmation",
    "NC2 - Error check after confirmation",
    "NX1 - Error Codewords Limit before confirmation",
    "NX2 - Error Codewords Limit after confirmation",
    "NZ1 - Number of samples with no Error events",
    "NZ2 - Number of contiguous Error samples",
    "NV  - Number of consecutive CSCC's for verification",
};

}  // namespace timer_rows

// The units of a call duration, in the order of the form's radio groups.
enum class DurationUnit { Seconds = 0, Minutes = 1, NoLimit = 2 };

struct CallDuration {
    DurationUnit unit = DurationUnit::NoLimit;
    int shown = 0;  // seconds or minutes as the edit shows them; 0 with no limit

    friend bool operator==(const CallDuration&, const CallDuration&) = default;
};

// 10 or more: seconds; 1..9: minutes, the value plus 4; 0: no limit.
CallDuration DecodeCallDuration(std::uint16_t word);
// The inverse: seconds as they are, minutes less 4, no limit 0.
std::uint16_t EncodeCallDuration(const CallDuration& duration);
// What the duration edit accepts with each unit: 10..254 seconds, 5..13 minutes, 0..0.
NumberRange DurationRange(DurationUnit unit);

// Characters a grid cell of a row accepts: the digits of its largest value.
int TypedLength(const fields::FieldRow& row);

}  // namespace km
