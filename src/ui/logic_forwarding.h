// How the windows forward an event to their logic: the signal's arguments go
// to one handler of the logic, then the window shows what the logic made of
// it.
#pragma once

#include <QObject>

namespace q5480 {

template <typename Sender, typename Signal, typename Logic, typename Result, typename Owner,
          typename... Parameters, typename After>
void ForwardToLogic(QObject* receiver, Sender* sender, Signal signal, Logic* logic,
                    Result (Owner::*handler)(Parameters...), After after) {
  QObject::connect(sender, signal, receiver, [logic, handler, after](Parameters... arguments) {
    (logic->*handler)(arguments...);
    after();
  });
}

}  // namespace q5480
