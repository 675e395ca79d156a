#include "title_text.h"

namespace vx {

std::wstring OpenedTitle(const std::wstring& programName, const std::wstring& fileName,
                         long widthPixels, long heightPixels) {
    return programName + L"\x2500[" + fileName + L"(" + std::to_wstring(widthPixels) + L"x" +
           std::to_wstring(heightPixels) + L") ]";
}

}  // namespace vx
