// Giving the current winner's prize back to the draw: the next Stop of the tier draws a
// replacement for the same place, and the results file notes that the winner gave up.
#pragma once

namespace pd {

class DrawCycle;
class MainScreen;
struct Session;

// Asks first; on OK lowers the ordinal, corrects the progress line and the tier's completed
// count (re-opening a closed tier), notes the abandon in the results, and empties the photo
// frame and the announcement. Without an announced winner in this tier since it was chosen
// (the ordinal at 1 or below) it does nothing and asks nothing, so the ordinal never falls
// below 1 and the designated places stay where they belong.
void abandonWinner(MainScreen& screen, Session& session, DrawCycle& cycle);

} // namespace pd
