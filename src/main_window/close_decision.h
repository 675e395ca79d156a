#pragma once
// Whether a close request goes ahead. Portable.

namespace vx {

enum class CloseAnswer { NotAsked, Yes, No, Cancel };

// Whether the question about an unsaved image must be asked at all.
inline bool MustAskBeforeClose(bool imageUnsaved) { return imageUnsaved; }

// After the answer (and, for Yes, after the save command ran): true keeps the window open.
bool KeepWindowOpen(CloseAnswer answer, bool imageUnsavedAfterAnswer);

}  // namespace vx
