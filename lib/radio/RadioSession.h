#pragma once
// A radio session: the data link on a serial port, the programming messages over it, and the
// radio operations with every step machine, wired once. The desktop program, the command line,
// the benchmarks, the fuzzers and the tests each build one in a line:
//
//   RadioSession session(port, timers, {workspace, state, person, progress, workFolder,
//                                       {workFolder, programFolder}});
//   session.Operations().ReadRadio(kImageTrunk);

#include "link/DataLink.h"
#include "link/Messages.h"
#include "link/SerialPort.h"
#include "link/Timers.h"
#include "radio/Operation.h"

namespace km {

class RadioSession {
  public:
    // The session must not outlive the port, the timer service or anything `context` names.
    RadioSession(SerialPort& port, TimerService& timers, RadioContext context);
    RadioSession(const RadioSession&) = delete;
    RadioSession& operator=(const RadioSession&) = delete;
    ~RadioSession();

    DataLink& Link() { return link_; }
    const DataLink& Link() const { return link_; }
    ProgrammingMessages& Messages() { return messages_; }
    RadioOperations& Operations() { return operations_; }

  private:
    DataLink link_;
    ProgrammingMessages messages_;
    RadioOperations operations_;
};

}  // namespace km
