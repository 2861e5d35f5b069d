#pragma once

namespace km {

// The radio operations, by the numbers their step machines are registered under: the serial
// monitor's three tests, the software upgrade, programming and reading of either job, Radio
// Information, and the identification a fleet radio starts with (no command of the desktop
// program runs it).
enum class OperationKind {
    None = 0,
    MonitorWrite = 1,
    MonitorRead = 2,
    MonitorErase = 5,
    UpgradeSoftware = 6,
    ProgramTrunk = 9,
    ReadTrunk = 10,
    ProgramPmr = 11,
    ReadPmr = 12,
    RadioInformation = 13,
    FleetIdentify = 20,
};

}  // namespace km
