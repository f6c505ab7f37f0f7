#include "model/data_file.h"

#include <string>

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
}  // namespace

DataFile::DataFile(Host& host, std::string path) : host_(host), path_(std::move(path)) {}

bool DataFile::load() {
    auto bytes = readWholeFile(path_);
    loaded_ = bytes.has_value();
    open_ = false;
    if (loaded_) reader_ = ListReader(std::move(*bytes));
    return loaded_;
}

int DataFile::FINDSEG(std::string_view name, int mode) {
    const std::string wanted = trimUpper(name);
    open_ = loaded_;
    if (open_) {
        reader_.rewind();
        while (!reader_.atEnd()) {
            const ListReader::Item item = reader_.nextTextItem();
            if (trimUpper(item.text) == wanted) return 0;
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
