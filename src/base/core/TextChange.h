#pragma once
// The case change the active project applies to file names in links and on the server.

namespace orvel {

enum TTextChange : int { tcNone, tcLower, tcUpper };

} // namespace orvel
