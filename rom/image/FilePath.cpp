#include "FilePath.h"

#include "Utf8.h"

#include <algorithm>

namespace rom {

namespace {

using NativeText = std::filesystem::path::string_type;

#ifdef _WIN32
NativeText nativeOf(const std::string &text)
{
    const std::u16string units = utf16FromGeneralizedUtf8(text);
    return NativeText(units.begin(), units.end());
}

std::string textOf(const NativeText &native)
{
    return generalizedUtf8FromUtf16(std::u16string(native.begin(), native.end()));
}
#else
NativeText nativeOf(const std::string &text) { return text; }
std::string textOf(const NativeText &native) { return native; }
#endif

} // namespace

FilePath::FilePath(const std::string &text) : m_path(nativeOf(text)) {}

std::string FilePath::text() const { return textOf(m_path.native()); }

bool FilePath::holdsNul() const
{
    const NativeText &native = m_path.native();
    return std::find(native.begin(), native.end(), NativeText::value_type(0)) != native.end();
}

} // namespace rom
