#pragma once
// `FrmDxf` without its widgets: the state of the drawing window and its
// commands. The desktop window shows and edits this state; the command line
// fills it from its options; both then call the same commands, so a drawing
// comes out the same whichever way it was asked for.
//
// Commands report through the host: the run log (cleared by every drawing
// command) and message boxes. Each returns true when its drawing was written.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/host.h"
#include "common/table.h"
#include "drawing/dxf_writer.h"
#include "drawing/member_direction.h"
#include "model/data_file.h"
#include "model/frame_model.h"

namespace tarvel {

// Distinct node X (and Y) values the dimension chains hold.
constexpr int kMaxDistinctCoordinates = 70;
// Members whose stacked distributed loads are offset (members 1..200).
constexpr int kLoadOffsetSlots = 210;

namespace drawing_text {
inline constexpr const char* kRunLog = "图形交互程序运行过程：";
inline constexpr const char* kWindowLog = "前/后处理程序运行过程：";
inline constexpr const char* kDone = "图形交互文件建立完毕！";
inline constexpr const char* kDoneTitle = "提示！";
inline constexpr const char* kTitle = "提示";
inline constexpr const char* kNoLoadType = "还未选择'荷载类型'！";
inline constexpr const char* kNoDataFile = "还未选择'计算文件'！";
inline constexpr const char* kNoFileToShow = "请选择要浏览的文件！";
// A missing result file: the path follows the opening words.
inline constexpr const char* kMissingFile = "找不到指定的文件 '";
inline constexpr const char* kMissingFileLogEnd =
    "',请检查工作路径是否正确,或尝试改用手动指定文件。";
inline constexpr const char* kMissingFileMessageEnd = "',请检查工作路径是否正确！";
inline constexpr const char* kTextStyle = "HZTXT";
// The entry of the ordinate-height box that sizes the diagrams by the storeys.
inline constexpr const char* kByStorey = "按层高";
}  // namespace drawing_text

class DrawingWindow {
  public:
    // The entries of the load-type box, in order (load type 1, 2, 3).
    static constexpr std::array<const char*, 3> kLoadTypes = {"恒载", "活载", "风载"};

    struct CheckBox {
        bool ticked = false;
        bool enabled = true;
    };

    explicit DrawingWindow(Host& host) : host_(host) {}

    // Window state.
    DxfWriter dxf;              // writer state: LAYER, SCALE, WORKDIR, DXFFILE (shown in TxtDxf)
    std::string TxtName;        // file chosen for the next command
    std::string CboScale;       // scale denominator n of 1:n ("" gives 1:100)
    std::string CboAlf;  // largest diagram ordinate, drawing units ("" gives 20; kByStorey by the storeys)
    std::string CboHzlx;        // load type shown in the box ("" when none chosen)
    std::int16_t loadType = 0;  // 1 dead, 2 live, 3 wind, 0 none
    // Diagrams of the next force drawing; with none chosen the drawing holds
    // the member axes alone.
    bool drawMoments = false;
    bool drawShears = false;
    bool drawAxialForces = false;
    CheckBox Check1, Check2, Check3;  // the (M), (V), (N) boxes
    FrameModel model;                 // the frame of the structure drawing, read by this window
    // Load case of the structure drawing: 0 all three on their layers, or 1
    // dead, 2 live, 3 wind alone, in a drawing named after the data file and
    // the case (EX1.TVL gives EX1_DLOAD.DXF).
    std::int16_t frameCase = 0;

    // Commands. The desktop window forwards its controls' events here.
    // Opening the window: the run log's heading and the boxes' first values.
    void start();
    void selectFolder(std::string_view folder);  // DirList: the working folder
    void selectFile(std::string_view file) { TxtName = file; }
    void selectLoadType(std::string_view entry);  // an entry of kLoadTypes; any other is none
    // The (M), (V), (N) boxes: choosing one diagram disables the other two
    // boxes until it is cleared.
    void setDrawMoments(bool draw) { chooseDiagram(1, draw); }
    void setDrawShears(bool draw) { chooseDiagram(2, draw); }
    void setDrawAxialForces(bool draw) { chooseDiagram(3, draw); }
    // The drawing commands; the force and structure drawings first check that
    // a load type or a data file was chosen.
    bool drawForceDiagrams();
    bool drawReinforcement() { return Drawas(); }
    bool drawStructure();
    // Opens the chosen file in `editor`; false when nothing was started.
    bool viewFile(std::string_view editor);
    // File pattern of the file list for an entry of the file-type box.
    static const char* filePattern(int entry);

    // The drawings themselves.
    bool Drawfm();  // computation diagram with loads from a .TVL file
    bool Drawfc();  // internal-force diagrams from a .fkn file
    bool Drawas();  // reinforcement areas from an .ags file

    // Steps of the structure drawing.
    void DRAWFRM();
    void DRAWDIM(std::string_view FNAME, float& XMARK, float& YMARK);
    void RSIZEX(float X0, float Y0, const Table<float, kMaxDistinctCoordinates>& SIZE, int NN,
                float a);
    void RSIZEY(float X0, float Y0, const Table<float, kMaxDistinctCoordinates>& SIZE, int NN,
                float a);

    // Steps of the load drawing. DRAWLD and DRAWLOAD return false after
    // reporting a load record that cannot be read.
    bool DRAWLD(DataFile& file, float XMARK, float YMARK);
    bool DRAWLOAD(DataFile& file, std::string_view CSEG, float XMARK, float YMARK,
                  std::string_view MARK);
    // Reads one record: returns the member (0 ends the segment, and nothing
    // more is read), sets IC and Q(1), Q(3), Q(4). Throws ListInputError when
    // it cannot be read.
    int READLD(DataFile& file, int& IC, Table<float, 4>& Q);
    void DRLOAD(float X1, float Y1, float X2, float Y2, int IC, Table<float, 4>& Q);

    // One member of the internal-force drawing, from the section values F.
    void FCBAR(float X1, float Y1, float X2, float Y2, float ALFM, float ALFV, float ALFN);
    Table<float, 3, 9> F;  // F(k,s): k 1 M (kN·m), 2 V (kN), 3 N (kN) at section s of the member

    // SCALE from the scale box: n/1000 for 1:n, 0.1 when the box is empty.
    float scaleFromBox() const;
    // Largest ordinate H from its box, 20 when the box is empty.
    float heightFromBox() const;
    // Largest ordinate H that keeps every diagram with its labels inside half
    // the smallest storey height: half of it in drawing units less the room
    // of the labels beyond the ordinates. `levels` are the Y values (m) of the
    // member ends; 20 when they hold no storey.
    static float heightByStorey(std::vector<float> levels, float SCALE);
    // The drawing written last, with its folder.
    std::string drawingPath() const { return dxf.WORKDIR + dxf.DXFFILE; }

  private:
    void chooseDiagram(int box, bool draw);
    void untickDiagramBoxes();
    bool distinctCoordinatesWithinLimit();
    // A result file (.fkn, .ags) that cannot be opened or read, or a drawing
    // that cannot be written: the run log line and the message name the file
    // and what is wrong with it. Returns false.
    bool resultFileFailure(const std::string& logText, const std::string& messageText);
    bool resultFileFailure(const std::string& text) { return resultFileFailure(text, text); }
    // For a result file that could not be opened: missing, a folder, unreadable.
    bool unreadableResultFile(const std::string& path);

    Host& host_;
    Table<float, kLoadOffsetSlots>
        OFFS;  // offset of the next distributed load's base line, model units
};

}  // namespace tarvel
