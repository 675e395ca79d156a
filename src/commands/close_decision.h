#pragma once
// Whether a close request goes ahead. Portable.

namespace vx {

enum class CloseAnswer { NotAsked, Yes, No, Cancel };

// After the answer (and, for Yes, after the save command ran): true keeps the window open.
bool KeepWindowOpen(CloseAnswer answer, bool imageUnsavedAfterAnswer);

}  // namespace vx
