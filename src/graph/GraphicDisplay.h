#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/ControlTable.h"
#include "graph/GraphFiles.h"
#include "graph/TraceTable.h"
#include "serial/CyclePart.h"

namespace zelsim {

struct ChartDrawing;
class CourseDisplay;
class RecordSampler;
class SerialPort;
class UserDialogs;

// The graph window in figures: opening and closing it, Pause, Hold with its
// browsing and playback, Clear, the grid buttons, the trace switches and
// the scale popup, the caption, and the settings it takes from the
// configuration when it opens and carries back when it has closed. The
// window's controls are named in GraphWindowControls.h and written to its
// own table; the picture is the chart's drawing of the last redraw shown.
// Keys "GraphicFormLeft", "GraphicFormTop", "LinearGrid", "LogGrid",
// "BmpSaveFileIndex", "DataSaveFileIndex" and the course display's
// "CogDisplayLeft", "CogDisplayTop", "CogDisplayHeight", "CogDisplayWidth".
class GraphicDisplay : public CyclePart {
  public:
    static constexpr int kClientWidth = 790;
    // The designed 496, and a row under the buttons that says what became
    // of the last save or load.
    static constexpr int kClientHeight = 514;
    static constexpr std::string_view kDefaultCaption = "Graphic Display";
    static constexpr std::string_view kCaptionPrefix = "Graphic Display of ";
    static constexpr std::string_view kLiveData = "Incomming Data";
    // A file's name longer than this is shown by its end.
    static constexpr size_t kWholeNameBelow = 53;
    static constexpr size_t kNameEndShown = 53;

    // What the configuration keeps of the window and of the course display.
    struct Settings {
        int left = 0;
        int top = 0;
        bool linearGrid = true;
        bool logGrid = true;
        int bmpIndex = 1;
        int dataIndex = 1;
        int cogLeft = 0;
        int cogTop = 0;
        int cogHeight = 200;
        int cogWidth = 200;
        friend bool operator==(const Settings&, const Settings&) = default;
    };

    // The playback buttons while holding: samples moved per sampling
    // interval, backwards when negative.
    enum class Playback : int8_t {
        kReverseFast = -10,
        kReverse = -1,
        kStopped = 0,
        kForward = 1,
        kForwardFast = 10,
    };

    // The group of five, in the window's order.
    static constexpr std::array<Playback, 5> kPlaySpeeds = {
        Playback::kReverseFast, Playback::kReverse, Playback::kStopped, Playback::kForward,
        Playback::kForwardFast};

    enum class MouseButton : uint8_t { kLeft, kRight };

    // cmChangeScale as it opens for one trace.
    struct ScalePopup {
        std::string_view title;  // "Signed" or "Unsigned", not selectable
        std::array<std::string_view, TraceTable::kScales> captions;
        int checked = 0;
    };

    // Writes the shown picture to a file; the reason when it could not.
    using PictureWriter = std::function<std::optional<std::string>(const std::string& path)>;

    // `mainControls` holds the main window's bGraphicDisplay; `course` is
    // the course display the window places, shows and feeds; `port` tells
    // whether the window opens live or in Hold; `dialogs` asks for the file
    // to load and says what failed; data files are saved in `startFolder`
    // with the program's `version`.
    GraphicDisplay(ControlTable& mainControls, RecordSampler& sampler, CourseDisplay& course,
                   const SerialPort& port, UserDialogs& dialogs, std::string startFolder,
                   std::string version);

    ControlTable& Controls() { return controls_; }
    const ControlTable& Controls() const { return controls_; }

    // bClickGraphicDisplay: the configuration's settings handed over, the
    // main window's button disabled, the window shown.
    void Open();
    // The window hidden other than by Close: sampling stops.
    void OnHide();
    bool Visible() const;

    void Pause();
    bool Paused() const { return paused_; }
    void Hold();
    bool Holding() const;
    void Clear();
    void Close();
    void ToggleLinearGrid();
    void ToggleLogGrid();
    // bClickCogDisplay: the course display hidden when shown, else shown
    // with the course of the sample on display.
    void ToggleCourseDisplay();

    // A button pressed on the paint box. A right press on a trace switch
    // gives the trace whose scale popup opens there.
    std::optional<int> MouseDown(int x, int y, MouseButton button);
    void MouseUp(MouseButton button);
    ScalePopup PopupFor(int trace) const;
    // cmScaleSubitemClicked
    void ChooseScale(int trace, int index);

    // sbGraphTime moved by the user while holding.
    void MoveTime(int position);
    // spToFront and sbToEnd: the oldest or the newest samples.
    void ToFront();
    void ToEnd();
    // The group of five.
    void Play(Playback speed);
    Playback Playing() const { return playback_; }

    // bClickSaveData: every record of the ring into a new data file.
    void SaveData();
    // bClickAutoSave
    void ToggleAutoSave();
    // bClickLoadData: a file the user picks, while holding.
    void LoadData();
    // Load Data with the file named: also `zelsim --graph FILE`.
    void LoadFile(const std::string& path);
    // bClickSaveGraph: the shown picture under the next picture name.
    void SaveGraph(const PictureWriter& write);

    // How many samples the plot shows: the time bar's page.
    int SamplesShown() const;

    // Where the user moved the window.
    void WindowMoved(int left, int top);

    // The picture of the last redraw shown; the revision changes with each
    // one, and not while paused.
    const ChartDrawing& Drawing() const;
    uint64_t ShownRevision() const { return shownRevision_; }

    // What the configuration will keep.
    const Settings& Saved() const { return saved_; }

    // A redraw for each sampling interval, then the settings carried back
    // once the window has closed.
    void AfterRead(uint32_t now) override;
    // A redraw follows each sampling interval while the window is shown;
    // once it has closed, the next cycle carries the settings back.
    uint32_t NextStepIn(uint32_t now) const override;
    void LoadSettings(ConfigFile& file) override;
    void SaveSettings(ConfigFile& file) const override;

    // "Graphic Display of %s" for the live data or a file shown.
    static std::string Caption(std::string_view shownFile);

  private:
    enum class SaveKind : uint8_t { kButton, kAutomatic };
    void SaveRecords(int end, int count, SaveKind kind);
    void Report(const std::string& text, bool failed);
    void OnShow();
    void Redraw(int endIndex);
    void RedrawHere();
    void Browse();
    void SetTimePosition(int position);
    int LastTimePosition() const;
    void ShowHoldState();
    void ShowGridCaptions();
    void ShowCaption();
    void ReturnSettings();
    Settings Current() const;

    ControlTable controls_;
    ControlTable& mainControls_;
    RecordSampler& sampler_;
    CourseDisplay& course_;
    const SerialPort& port_;
    UserDialogs& dialogs_;
    GraphFiles files_;
    std::string version_;
    Settings saved_;
    Settings window_;
    std::string shownFile_;
    bool paused_ = false;
    bool buttonDisabled_ = false;  // bGraphicDisplay, until the settings came back
    Playback playback_ = Playback::kStopped;
    uint32_t intervalsSeen_ = 0;
    uint64_t drawnRevision_ = 0;
    uint64_t shownRevision_ = 0;
};

}  // namespace zelsim
