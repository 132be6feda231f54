// The toolkit's base classes: objects, components with an owner, events, lists of text lines.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class TObject {
public:
    virtual ~TObject() = default;
};

// A component belongs to its owner; the owner keeps it alive (usually as a member).
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) {}
    TComponent* Owner() const { return owner_; }
    std::string Name;

private:
    TComponent* owner_;
};

// An event: skipped when unset; Sender is the component that fires it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// An ordered list of text lines (UTF-8 in memory).
class TStringList {
public:
    std::size_t Count() const { return lines_.size(); }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Clear() { lines_.clear(); }
    const std::string& operator[](std::size_t i) const { return lines_[i]; }
    const std::vector<std::string>& Lines() const { return lines_; }

    // The lines of a Windows-1252 text: a line ends at CR LF, a lone CR or a lone LF; a last
    // line without an end is still a line. Every other byte, NUL included, is kept.
    void SetText(std::string_view cp1252);
    // The lines in Windows-1252, each followed by CR LF.
    std::string Text() const;
    // Replaces the lines by a file's (ReadWholeFile's errors).
    void LoadFromFile(const std::string& fileName);
    // Writes the lines as the file's whole content (ReplaceFileContents' errors).
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<std::string> lines_;
};

} // namespace tk
