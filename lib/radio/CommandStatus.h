#pragma once
// The line the main window's status bar shows about a radio command: the connection being made
// while the link comes up, then what became of the command once it has ended. It stands beside
// the progress dialog and the message boxes, never in their place.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/OperationKind.h"
#include "link/SerialPort.h"

namespace km {

// "Connecting to the radio on COM1 ..." while the link is brought up.
std::string ConnectingStatus(int comIndex);
// "Radio connected on COM1" once it is up.
std::string ConnectedStatus(int comIndex);
// A command that went through to its end, with what it adds in words and the time it took from
// the command ("Radio read: trunk configuration, 12.1 s"; "Radio software upgraded: TRUNK
// software for a Revision 9 KM700 Mobile V6.30, 25.0 s").
std::string CompletedStatus(OperationKind operation, std::string_view detail,
                            std::int64_t elapsedMs);
// The person closed the progress dialog ("Read Radio cancelled").
std::string CancelledStatus(OperationKind operation);
// Ended without a message of its own, as after a No to a question ("Program Radio stopped").
std::string StoppedStatus(OperationKind operation);
// The failure's line with what became of the serial port ("Serial Communications Error. Please
// Try Again. The serial port went away: the cable or the radio was disconnected.").
std::string PortLostStatus(std::string_view failureLine, PortError error);
// A message box's text as one line: its line breaks and runs of blanks become one blank.
std::string StatusLine(std::string_view boxText);

}  // namespace km
