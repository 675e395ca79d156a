#include "close_decision.h"

namespace vx {

bool KeepWindowOpen(CloseAnswer answer, bool imageUnsavedAfterAnswer) {
    switch (answer) {
        case CloseAnswer::Yes: return imageUnsavedAfterAnswer;  // a cancelled or failed save keeps it open
        case CloseAnswer::Cancel: return true;
        case CloseAnswer::No:
        case CloseAnswer::NotAsked: return false;
    }
    return false;
}

}  // namespace vx
