#pragma once
// Writes verified against the device simulator: the model's configuration file, and one whole
// write driven through its timers to the verification's end.
#include "core/models/registry.h"
#include "support/simulator.h"

namespace morla::test {

// Fires the pause before the read-back once the data text is out, and waits for the
// verification to end; false when it does not.
bool FinishVerification(Bench& b);

// "&Enviar", the send timer fired, then FinishVerification. Returns the status line after it
// ("" when the write or the verification did not end).
QString WriteAndVerify(Bench& b);

}  // namespace morla::test
