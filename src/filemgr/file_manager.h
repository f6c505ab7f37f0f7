#pragma once
// `FrmWjgl` without its widgets: the state and the commands of the file
// manager window (copy, delete, rename single files, make folders, preview
// pictures). The desktop window shows these members in controls of the same
// names and forwards its events here; tests drive it directly.
//
// Paths are joined with the platform's separator; a folder that already ends
// in one (a drive or file-system root) gets no second one.

#include <array>
#include <string>
#include <string_view>

#include "common/host.h"

namespace tarvel {

namespace filemgr_text {
inline constexpr const char* kCaption = "文件管理";
inline constexpr const char* kTitle = "提示！";
inline constexpr const char* kNoFile = "必须先选取文件！";
inline constexpr const char* kNoSource = "必须先选取源文件名！";
inline constexpr const char* kNoTarget = "必须输入目标文件名！";
inline constexpr const char* kCopied = "文件复制完毕！";
inline constexpr const char* kDeleted = "文件删除完毕！";
inline constexpr const char* kRenamed = "文件改名完毕！";
inline constexpr const char* kFolderMade = "文件目录已建立！";
inline constexpr const char* kAskDelete = "您真的要删除该文件吗？";
inline constexpr const char* kAskOverwrite = "目标文件已存在，是否覆盖？";
inline constexpr const char* kNotFoundHead = "找不到";
inline constexpr const char* kNotFoundTail = "文件";
}  // namespace filemgr_text

class FileManager {
  public:
    struct CheckBox {
        bool ticked = false;
        bool enabled = true;
    };

    // The entries of the file-type box, in order.
    static constexpr std::array<const char*, 12> kFileTypes = {
        "所有文件(*.*)",   "Aocess(*.MDB)",   "Foxpro(*.DBF)",   "文本文件(*.BMP)",
        "数据文件(*.JPG)", "数据文件(*.PCX)", "数据文件(*.DCX)", "数据文件(*.XIF)",
        "数据文件(*.GIF)", "数据文件(*.WIF)", "数据文件(*.TIF)", "数据文件(*.AWD)"};

    // What picking a file in the list does: nothing before a mode box was
    // used; with the boxes clear it fills the source box with the bare name;
    // otherwise it previews the picture, fills the source box with the full
    // path, or sets the target to the list's folder.
    enum class PickMode { Unset, SourceName, Preview, SourcePath, TargetFolder };

    explicit FileManager(Host& host) : host_(host) {}

    // Controls, by their names in the window.
    std::string TxtWjm;                // "源文件名：" source file
    std::string TxtMbwj;               // "目标文件名：" target file or folder
    std::string CboLx;                 // file-type entry shown; "" until one is chosen
    CheckBox Check1;                   // "系统": the file list shows system files
    CheckBox Check2;                   // "隐藏": hidden files
    CheckBox Check3;                   // "只读": read-only files
    CheckBox Check4;                   // "图片浏览": picture preview mode
    CheckBox Check5;                   // "源文件名": pick the source with its full path
    CheckBox Check6;                   // "目标目录": pick the target folder
    std::string Image1;                // path of the picture the preview shows ("" for none)
    bool pictureLabelVisible = false;  // the "图片" label over the preview
    bool open = true;                  // false once the window is closed

    // The file list.
    std::string FilListPath;      // its folder ("" is the program's working folder)
    std::string FilListFileName;  // its current file name ("" after a folder change)
    std::string FilListPattern = "*.*";

    // Window state.
    PickMode mode = PickMode::Unset;
    std::string currentFolder;  // list folder + separator + current file name
    std::string pickedName;     // bare file name last picked in mode SourcePath

    // Pattern of a file-type entry; nullptr outside 0..11.
    static const char* filePattern(int index);

    // Commands. The desktop window forwards its controls' events here.
    void start();  // opening the window: no picture label, no file type shown
    void selectFolder(std::string_view folder);  // DirList
    void selectFile(std::string_view file);      // FilList, by the pick mode
    void selectFileType(int index);  // an index outside 0..11 leaves the pattern as it is
    // The attribute boxes (Check1..3) and the mode boxes (Check4..6).
    void setShowSystemFiles(bool ticked) { Check1.ticked = ticked; }
    void setShowHiddenFiles(bool ticked) { Check2.ticked = ticked; }
    void setShowReadOnlyFiles(bool ticked) { Check3.ticked = ticked; }
    void setPicturePreview(bool ticked);
    void setPickSourcePath(bool ticked);
    void setPickTargetFolder(bool ticked);
    // The operation of a Toolbar1 button key: "A10" make folder, "A57" copy,
    // "A26" rename, "A50" delete, "EXIT" close; any other key does nothing.
    void runToolbarCommand(std::string_view key);

    // Operations; each returns true when it was carried out.
    bool DCopy();  // copy a file
    bool Ddil();   // delete a file
    bool RRen();   // rename or move a file
    bool Dmd();    // make a folder
    void Tc() { open = false; }

    // The source: the list's folder + file name when the source box holds
    // exactly the list's current file name, the box's text otherwise.
    std::string sourcePath() const;
    // `name` inside `folder`, without doubling a separator.
    static std::string joinPath(std::string_view folder, std::string_view name);

  private:
    std::string inListFolder(const std::string& path) const;
    bool done(const char* text);
    bool notFound(const std::string& path);

    Host& host_;
};

}  // namespace tarvel
