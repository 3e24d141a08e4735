// The window calls' own state, for Reset().
#pragma once

namespace stand_in {

// Forgets the dialog procedure, the class, the queue, the list and the selection.
void ResetWindows();

}  // namespace stand_in
