#pragma once
// Text encodings: the program keeps text as UTF-8; DXF texts are written in
// GBK (code page 936); text files read for display are taken as UTF-8 when
// they are valid UTF-8, otherwise as GBK (files from older installations).

#include <string>
#include <string_view>

namespace tarvel {

bool isValidUtf8(std::string_view bytes);
// Characters without a GBK code become "?".
std::string utf8ToGbk(std::string_view utf8);
// Bytes that are not valid GBK become U+FFFD.
std::string gbkToUtf8(std::string_view gbk);
std::string decodeTextFile(std::string_view bytes);
// Number of characters (code points) of a UTF-8 string.
int utf8Length(std::string_view utf8);

}  // namespace tarvel
