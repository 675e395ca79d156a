#pragma once
// Dragging the picture out of the view: an OLE drag that carries it as a PNG file in
// the user's temporary folder and as a device-independent bitmap.
#include <string>
#include <vector>

#include "../document/outcome.h"
#include "../document/picture_box.h"

namespace vx {

class PictureDrag {
public:
    PictureDrag() = default;
    PictureDrag(const PictureDrag&) = delete;
    PictureDrag& operator=(const PictureDrag&) = delete;
    // The files no drop took are not left behind in the temporary folder.
    ~PictureDrag();

    // Writes the file and runs the drag until the button is let go (or Escape);
    // Ok whether or not a program took it.
    Outcome Run(const PictureBox& picture);
    // While the drag runs: a drop on the program's own window is its own picture.
    bool Running() const { return running_; }

private:
    std::vector<std::wstring> untaken_;
    bool running_ = false;
};

}  // namespace vx
