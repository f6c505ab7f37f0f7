#include "model/data_file.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "common/file_io.h"

namespace tarvel {

namespace {
std::string trimUpper(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    std::string out(s.substr(b, e - b));
    for (char& ch : out) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    return out;
}
bool isLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// trimUpper(s) == upper, without forming the trimmed text: the segment search
// compares every item of the file.
bool trimmedUpperEquals(std::string_view s, std::string_view upper) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    if (e - b != upper.size()) return false;
    for (std::size_t i = 0; i < upper.size(); ++i) {
        char ch = s[b + i];
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (ch != upper[i]) return false;
    }
    return true;
}
// Edits (insertions, deletions, replacements) that turn a into b, a marker
// name of at most kLongestName letters.
constexpr std::size_t kLongestName = 9;
static_assert(std::ranges::all_of(kSegmentNames,
                                  [](std::string_view n) { return n.size() <= kLongestName; }));
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::array<std::size_t, kLongestName + 1> row{};
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u)});
            diagonal = up;
        }
    }
    return row[b.size()];
}
// The marker that a line of one word of letters resembles without being it:
// at most two letters differ.
std::string_view lookalikeOf(const std::string& word) {
    const bool wordOfLetters = word.size() >= 3 && std::all_of(word.begin(), word.end(), [](char c) {
                                   return (c >= 'A' && c <= 'Z') || c == '-';
                               });
    std::string_view nearest;
    if (!wordOfLetters) return nearest;
    std::size_t best = 3;
    for (std::string_view name : kSegmentNames) {
        // The lengths alone already differ by as many edits.
        const std::size_t lengthGap =
            word.size() > name.size() ? word.size() - name.size() : name.size() - word.size();
        if (lengthGap >= best) continue;
        const std::size_t d = editDistance(word, name);
        if (d < best) {
            best = d;
            nearest = name;
        }
    }
    return best == 0 ? std::string_view{} : nearest;
}
}  // namespace

std::vector<std::string_view> wordsOf(std::string_view item) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < item.size()) {
        while (i < item.size() && (item[i] == ' ' || item[i] == '\t')) ++i;
        const std::size_t from = i;
        while (i < item.size() && item[i] != ' ' && item[i] != '\t') ++i;
        if (i > from) words.push_back(item.substr(from, i - from));
    }
    return words;
}

bool isSegmentName(std::string_view text) {
    const std::string name = trimUpper(text);
    for (std::string_view s : kSegmentNames) {
        if (name == s) return true;
    }
    return false;
}

std::optional<StrayValue> DataFile::strayValueAfterSegment() {
    while (!reader_.atEnd()) {
        const ListReader::Item item = reader_.nextTextItem();
        if (item.empty) continue;
        // A misspelled marker also ends the segment's values: it is flagged
        // as such, and what follows it belongs to no segment.
        if (isSegmentName(item.text) || !lookalikeOf(trimUpper(item.text)).empty()) return std::nullopt;
        // An item is a number only when every word of it is one; anything
        // else is a line of text, which the reading never takes for a value.
        const std::vector<std::string_view> words = wordsOf(item.text);
        bool numeric = true;
        std::optional<std::string_view> nonZero;
        for (std::string_view w : words) {
            double value = 0.0;
            if (!parseNumber(w, value)) {
                numeric = false;
                break;
            }
            if (value != 0.0 && !nonZero) nonZero = w;
        }
        if (numeric && nonZero) return StrayValue{std::string(*nonZero), item.line};
    }
    return std::nullopt;
}

std::vector<SegmentLookalike> DataFile::segmentNameLookalikes() const {
    std::vector<SegmentLookalike> found;
    const std::string& text = reader_.content();
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        ++lineNumber;
        const std::string_view line = std::string_view(text).substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
        if (pos < text.size()) ++pos;

        // Only a word of letters resembles a marker: the lines of numbers
        // are passed over without forming their upper-case text.
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || !(isLetter(line[start]) || line[start] == '-')) continue;
        const std::string word = trimUpper(line);
        const std::string_view nearest = lookalikeOf(word);
        if (!nearest.empty()) {
            const std::size_t first = line.find_first_not_of(" \t");
            const std::size_t last = line.find_last_not_of(" \t");
            found.push_back({std::string(line.substr(first, last - first + 1)), lineNumber, std::string(nearest)});
        }
    }
    return found;
}

DataFile::DataFile(Host& host, std::string path) : host_(host), path_(std::move(path)) {}

bool DataFile::load() {
    auto bytes = readWholeFile(path_);
    loaded_ = bytes.has_value();
    open_ = false;
    if (loaded_) reader_ = ListReader(std::move(*bytes));
    markers_.clear();
    reader_.rewind();
    searchedTo_ = reader_.mark();
    searchedAll_ = false;
    return loaded_;
}

int DataFile::FINDSEG(std::string_view name, int mode) {
    const std::string wanted = trimUpper(name);
    open_ = loaded_;
    const bool word = !wanted.empty() && isLetter(wanted[0]);
    if (open_ && word) {
        // The first item of the file that is the marker: among those read
        // before, else further on.
        for (const MarkerItem& m : markers_) {
            if (m.upper == wanted) {
                reader_.seek(m.after);
                return 0;
            }
        }
        if (!searchedAll_) {
            reader_.seek(searchedTo_);
            while (!reader_.atEnd()) {
                const ListReader::Item item = reader_.nextTextItem();
                searchedTo_ = reader_.mark();
                const std::string upper = trimUpper(item.text);
                if (upper.empty() || !isLetter(upper[0])) continue;
                markers_.push_back({upper, searchedTo_});
                if (upper == wanted) return 0;
            }
            searchedAll_ = true;
        }
        reader_.seek(searchedTo_);  // at the end, as after reading every item
    } else if (open_) {
        reader_.rewind();
        while (!reader_.atEnd()) {
            const ListReader::Item item = reader_.nextTextItem();
            if (trimmedUpperEquals(item.text, wanted)) return 0;
        }
    }
    if (mode == kOptional || mode == kMandatory) {
        host_.log("1," + std::string(name));
        if (mode == kOptional) {
            host_.log("系统提示：没找到 '" + std::string(name) + "' 数据段！");
        } else {
            host_.log("致命的错误：找不到 '" + std::string(name) + "' 数据段！");
        }
    }
    open_ = false;
    return 1;
}

}  // namespace tarvel
