// Lists of text lines and their files.
#include "platform/Classes.h"

#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace tk {

void TStringList::SetText(std::string_view cp1252) {
    lines_.clear();
    std::size_t start = 0;
    while (start < cp1252.size()) {
        std::size_t end = cp1252.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = cp1252.size();
        lines_.push_back(AnsiToUtf8(cp1252.substr(start, end - start)));
        if (end < cp1252.size() && cp1252[end] == '\r' && end + 1 < cp1252.size() &&
            cp1252[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

std::string TStringList::Text() const {
    std::string text;
    for (const auto& line : lines_)
        text += Utf8ToAnsi(line) + "\r\n";
    return text;
}

void TStringList::LoadFromFile(const std::string& fileName) {
    SetText(ReadWholeFile(fileName));
}

void TStringList::SaveToFile(const std::string& fileName) const {
    ReplaceFileContents(fileName, Text());
}

} // namespace tk
