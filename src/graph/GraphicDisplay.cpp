#include "graph/GraphicDisplay.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/ConfigFile.h"
#include "base/MainWindowControls.h"
#include "base/UserDialogs.h"
#include "gps/CourseDisplay.h"
#include "graph/DataFile.h"
#include "graph/GraphWindowControls.h"
#include "graph/RecordSampler.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {

namespace gw = graph_window;

constexpr const char* kLeftKey = "GraphicFormLeft";
constexpr const char* kTopKey = "GraphicFormTop";
constexpr const char* kLinearGridKey = "LinearGrid";
constexpr const char* kLogGridKey = "LogGrid";
constexpr const char* kBmpIndexKey = "BmpSaveFileIndex";
constexpr const char* kDataIndexKey = "DataSaveFileIndex";
constexpr const char* kCogLeftKey = "CogDisplayLeft";
constexpr const char* kCogTopKey = "CogDisplayTop";
constexpr const char* kCogHeightKey = "CogDisplayHeight";
constexpr const char* kCogWidthKey = "CogDisplayWidth";

static_assert(GraphicDisplay::kPlaySpeeds.size() == gw::kPlayButtons.size());

constexpr const char* kDataNotSaved = "Data Not Saved";
constexpr const char* kPictureNotSaved = "Picture Not Saved";
constexpr const char* kOpenCaption = "Load Data";
constexpr const char* kOpenErrorCaption = "File Open Error";
constexpr const char* kFormatErrorCaption = "File Error";
constexpr size_t kLoadNameLimit = 299;

}  // namespace

GraphicDisplay::GraphicDisplay(ControlTable& mainControls, RecordSampler& sampler,
                               CourseDisplay& course, const SerialPort& port, UserDialogs& dialogs,
                               std::string startFolder, std::string version)
    : mainControls_(mainControls),
      sampler_(sampler),
      course_(course),
      port_(port),
      dialogs_(dialogs),
      files_(std::move(startFolder)),
      version_(std::move(version)) {
    // Every 4000 records while Auto Save is on, the whole ring.
    sampler_.onAutoSave = [this] {
        SaveRecords(sampler_.Ring().Head(), RecordRing::kCapacity, SaveKind::kAutomatic);
    };
    controls_.SetText(gw::fGraphicDisplay, kDefaultCaption);
    controls_.SetSize(gw::fGraphicDisplay, kClientWidth, kClientHeight);
    controls_.SetVisible(gw::fGraphicDisplay, false);
    controls_.SetVisible(gw::lPaused, false);
    controls_.SetVisible(gw::lAutoSave, false);
    controls_.SetText(gw::bPause, "&Pause");
    controls_.SetText(gw::bAutoSave, "&Auto Save On");
    controls_.SetVisible(gw::sbGraphTime, false);
    ShowHoldState();
    ShowGridCaptions();
    mainControls_.SetEnabled(main_window::bGraphicDisplay, true);
}

bool GraphicDisplay::Visible() const {
    return sampler_.IsVisible();
}

bool GraphicDisplay::Holding() const {
    return sampler_.Holding();
}

const ChartDrawing& GraphicDisplay::Drawing() const {
    return sampler_.Chart().Drawing();
}

void GraphicDisplay::Open() {
    buttonDisabled_ = true;
    mainControls_.SetEnabled(main_window::bGraphicDisplay, false);
    window_ = saved_;
    StripChart& chart = sampler_.Chart();
    chart.SetLinearGrid(saved_.linearGrid);
    chart.SetLogGrid(saved_.logGrid);
    ShowGridCaptions();
    controls_.SetPos(gw::fGraphicDisplay, saved_.left, saved_.top);
    course_.Place({saved_.cogLeft, saved_.cogTop, saved_.cogHeight, saved_.cogWidth});
    controls_.SetVisible(gw::fGraphicDisplay, true);
    OnShow();
}

void GraphicDisplay::OnShow() {
    // Showing clears the ring, and the settings readouts wait for the
    // controller's next answer.
    sampler_.Show();
    Clear();
    shownFile_.clear();
    // With no line there is nothing live to see: the window opens where a
    // data file can be loaded.
    if (!port_.IsOpen()) {
        sampler_.SetHolding(false);
        Hold();
    }
    ShowCaption();
}

void GraphicDisplay::OnHide() {
    course_.Close();
    sampler_.Hide();
    controls_.SetVisible(gw::fGraphicDisplay, false);
}

void GraphicDisplay::Close() {
    // What came since the last automatic save is saved, not lost.
    const RecordRing& ring = sampler_.Ring();
    if (sampler_.AutoSave() && ring.Head() != ring.AutoSaveMark())
        SaveRecords(ring.Head(), ring.AppendedSinceMark(), SaveKind::kButton);
    OnHide();
}

void GraphicDisplay::ToggleCourseDisplay() {
    if (course_.Visible()) {
        course_.Close();
        return;
    }
    course_.Open();
    course_.ShowCourse(sampler_.Chart().ShownCourse());
}

void GraphicDisplay::SaveData() {
    SaveRecords(sampler_.Ring().Head(), sampler_.Ring().Count(), SaveKind::kButton);
}

void GraphicDisplay::ToggleAutoSave() {
    const bool on = !sampler_.AutoSave();
    const RecordRing& ring = sampler_.Ring();
    const int since = ring.AppendedSinceMark();
    sampler_.SetAutoSave(on);
    controls_.SetText(gw::bAutoSave, on ? "&Auto Save Off" : "&Auto Save On");
    controls_.SetVisible(gw::lAutoSave, on);
    if (!on && since != 0) SaveRecords(ring.Head(), since, SaveKind::kButton);
}

void GraphicDisplay::SaveRecords(int end, int count, SaveKind kind) {
    if (count == 0) return;
    sampler_.MarkSaved(end);
    const GraphFiles::Outcome outcome =
        files_.SaveRecords(sampler_.Ring(), end, count, sampler_.Identities().DisplayedSet(),
                           version_, window_.dataIndex);
    Report(outcome.text, !outcome.ok);
    // No box stops the cycle for an automatic save: the report stays shown.
    if (!outcome.ok && kind == SaveKind::kButton) dialogs_.Warn(kDataNotSaved, outcome.text);
}

void GraphicDisplay::SaveGraph(const PictureWriter& write) {
    const std::string path = GraphFiles::PicturePath(window_.bmpIndex++);
    if (const std::optional<std::string> failure = write(path)) {
        const std::string text =
            "Picture not saved: " + path + " could not be written (" + *failure + ").";
        Report(text, true);
        dialogs_.Warn(kPictureNotSaved, text);
        return;
    }
    std::error_code error;
    const std::filesystem::path where = std::filesystem::absolute(path, error);
    Report("Saved the picture to " + (error ? path : where.string()), false);
}

void GraphicDisplay::LoadData() {
    shownFile_.clear();
    UserDialogs::FileRequest request;
    request.caption = kOpenCaption;
    request.folder = files_.Folder();
    request.filters = {"Data files (*.txt)", "All files (*)"};
    if (const std::optional<std::string> path = dialogs_.AskFileToOpen(request)) LoadFile(*path);
    ShowCaption();
}

void GraphicDisplay::LoadFile(const std::string& path) {
    shownFile_.clear();
    const std::string name = path.substr(0, kLoadNameLimit);
    std::string text;
    const GraphFiles::Outcome read = GraphFiles::Read(name, text);
    if (!read.ok) {
        Report("Not loaded: " + name + " (" + read.text + ")", true);
        dialogs_.Warn(kOpenErrorCaption, "Unable to open file - " + name);
        ShowCaption();
        return;
    }
    DeviceIdentities& identities = sampler_.Identities();
    identities.ClearDisplayed();
    if (data_file::HeaderVersion(data_file::Lines(text).Next().value_or("")) == 0) {
        Report("Not loaded: " + name + " is no data file", true);
        dialogs_.Warn(kFormatErrorCaption, "File Format Error - " + name);
        ShowCaption();
        return;
    }
    shownFile_ = name;
    sampler_.StartLoad();
    const data_file::LoadResult loaded =
        data_file::Load(text, identities, RecordRing::kCapacity,
                        [this](const DiagnosticRecord& record) { sampler_.AppendRecord(record); });
    Report("Loaded " + GraphFiles::Records(loaded.records) + " from " + name, false);
    Redraw(std::max(0, sampler_.Ring().Count() - 1));
    ShowCaption();
}

void GraphicDisplay::Report(const std::string& text, bool failed) {
    controls_.SetText(gw::lFileReport, text);
    controls_.SetAlert(gw::lFileReport, failed);
}

void GraphicDisplay::Pause() {
    paused_ = !paused_;
    controls_.SetText(gw::bPause, paused_ ? "&Pause Off" : "&Pause");
    controls_.SetVisible(gw::lPaused, paused_);
    ShowCaption();
}

void GraphicDisplay::Hold() {
    const bool on = !sampler_.Holding();
    const bool leavingLoad = !on && sampler_.LoadedData();
    sampler_.SetHolding(on);
    playback_ = Playback::kStopped;
    ShowHoldState();
    if (leavingLoad) Clear();
    ShowCaption();
}

void GraphicDisplay::ShowHoldState() {
    const bool on = sampler_.Holding();
    controls_.SetText(gw::bHold, on ? "&Hold Off" : "&Hold");
    controls_.SetVisible(gw::lHolding, on);
    controls_.SetEnabled(gw::bLoadData, on);
    controls_.SetEnabled(gw::bPause, !on);
    // Browsing and playing back are for a held chart.
    controls_.SetEnabled(gw::sbGraphTime, on);
    controls_.SetEnabled(gw::spToFront, on);
    controls_.SetEnabled(gw::sbToEnd, on);
    for (size_t i = 0; i < gw::kPlayButtons.size(); ++i) {
        controls_.SetEnabled(gw::kPlayButtons[i], on);
        controls_.SetChecked(gw::kPlayButtons[i],
                             playback_ != Playback::kStopped && kPlaySpeeds[i] == playback_);
    }
}

void GraphicDisplay::Clear() {
    const bool paused = paused_;
    sampler_.Chart().Clear();
    sampler_.Clear();
    shownFile_.clear();
    controls_.SetText(gw::bAutoSave, "&Auto Save On");
    controls_.SetVisible(gw::lAutoSave, false);
    // Nothing is left to play.
    playback_ = Playback::kStopped;
    ShowHoldState();
    // The empty chart is shown even while paused.
    paused_ = false;
    Redraw(0);
    paused_ = paused;
}

void GraphicDisplay::ToggleLinearGrid() {
    StripChart& chart = sampler_.Chart();
    chart.SetLinearGrid(!chart.LinearGrid());
    ShowGridCaptions();
    RedrawHere();
}

void GraphicDisplay::ToggleLogGrid() {
    StripChart& chart = sampler_.Chart();
    chart.SetLogGrid(!chart.LogGrid());
    ShowGridCaptions();
    RedrawHere();
}

void GraphicDisplay::ShowGridCaptions() {
    // Each names what a click will do.
    const StripChart& chart = sampler_.Chart();
    controls_.SetText(gw::bLinearGridOnOff,
                      chart.LinearGrid() ? "Linear Grid Off" : "Linear Grid On");
    controls_.SetText(gw::bLogGridOnOff, chart.LogGrid() ? "Log Grid Off" : "Log Grid On");
}

std::optional<int> GraphicDisplay::MouseDown(int x, int y, MouseButton button) {
    StripChart& chart = sampler_.Chart();
    const ChartArea area = ChartAreaAt(chart.Geometry(), x, y);
    switch (area.kind) {
        case ChartArea::Kind::kPlot:
            // Shown by the next redraw.
            if (button == MouseButton::kLeft) chart.SelectAt(x, y);
            break;
        case ChartArea::Kind::kTraceSwitch:
            if (button == MouseButton::kRight) return area.index;
            chart.Traces().Cycle(area.index);
            RedrawHere();
            break;
        case ChartArea::Kind::kSerialNumber:
            if (button != MouseButton::kLeft) break;
            chart.Readout().ShowSerial(static_cast<DeviceSlot>(area.index));
            RedrawHere();
            break;
        case ChartArea::Kind::kNone:
            break;
    }
    return std::nullopt;
}

void GraphicDisplay::MouseUp(MouseButton button) {
    if (button != MouseButton::kLeft) return;
    ReadoutPanel& readout = sampler_.Chart().Readout();
    bool shown = false;
    for (size_t slot = 0; slot < DeviceIdentities::kSlotCount; ++slot)
        shown = shown || readout.ShowsSerial(static_cast<DeviceSlot>(slot));
    if (!shown) return;
    readout.HideSerials();
    RedrawHere();
}

GraphicDisplay::ScalePopup GraphicDisplay::PopupFor(int trace) const {
    const TraceTable::Trace& t = sampler_.Chart().Traces().At(trace);
    ScalePopup popup;
    popup.title = t.isSigned ? "Signed" : "Unsigned";
    for (size_t i = 0; i < popup.captions.size(); ++i) popup.captions[i] = t.scales[i].caption;
    popup.checked = t.selected;
    return popup;
}

void GraphicDisplay::ChooseScale(int trace, int index) {
    if (!sampler_.Chart().Traces().ChooseScale(trace, index)) return;
    sampler_.RefillRows();
    RedrawHere();
}

int GraphicDisplay::LastTimePosition() const {
    const StripChart::ScrollBar& bar = sampler_.Chart().TimeBar();
    return bar.maximum + 1 - bar.page;
}

void GraphicDisplay::SetTimePosition(int position) {
    sampler_.Chart().SetTimePosition(std::clamp(position, 0, std::max(0, LastTimePosition())));
}

void GraphicDisplay::MoveTime(int position) {
    if (!sampler_.Holding()) return;
    SetTimePosition(position);
    Browse();
}

void GraphicDisplay::ToFront() {
    MoveTime(0);
}

void GraphicDisplay::ToEnd() {
    MoveTime(LastTimePosition());
}

void GraphicDisplay::Play(Playback speed) {
    if (!sampler_.Holding()) return;
    playback_ = speed;
    ShowHoldState();
}

int GraphicDisplay::SamplesShown() const {
    return sampler_.Chart().Geometry().samples;
}

void GraphicDisplay::WindowMoved(int left, int top) {
    window_.left = left;
    window_.top = top;
}

void GraphicDisplay::Redraw(int endIndex) {
    StripChart& chart = sampler_.Chart();
    chart.Redraw(sampler_.Ring(), sampler_.Identities(), endIndex, sampler_.Holding());
    ++drawnRevision_;
    if (!paused_) shownRevision_ = drawnRevision_;
    if (course_.Visible()) course_.ShowCourse(chart.ShownCourse());
    const StripChart::ScrollBar& bar = chart.TimeBar();
    controls_.SetVisible(gw::sbGraphTime, bar.visible);
    if (bar.visible) controls_.SetBar(gw::sbGraphTime, bar.position, LastTimePosition());
}

void GraphicDisplay::RedrawHere() {
    Redraw(sampler_.Chart().EndIndex());
}

void GraphicDisplay::Browse() {
    const StripChart::ScrollBar& bar = sampler_.Chart().TimeBar();
    if (!bar.visible || sampler_.Ring().Count() <= 1) return;
    const int last = LastTimePosition();
    SetTimePosition(bar.position);
    Redraw(sampler_.Ring().Head() - 1 + (bar.position - last));
}

uint32_t GraphicDisplay::NextStepIn(uint32_t /*now*/) const {
    if (sampler_.Intervals() != intervalsSeen_) return 0;
    return buttonDisabled_ && !sampler_.IsVisible() ? 0 : kNoStep;
}

void GraphicDisplay::AfterRead(uint32_t /*now*/) {
    if (sampler_.Intervals() != intervalsSeen_) {
        intervalsSeen_ = sampler_.Intervals();
        if (!sampler_.Holding()) {
            Redraw(sampler_.Ring().Head() - 1);
            if (!shownFile_.empty()) {
                shownFile_.clear();
                ShowCaption();
            }
        } else {
            if (playback_ != Playback::kStopped) {
                const int target =
                    sampler_.Chart().TimeBar().position + static_cast<int>(playback_);
                SetTimePosition(target);
                // The pressed button comes up at either end of the ring.
                if (target <= 0 || target >= LastTimePosition()) {
                    playback_ = Playback::kStopped;
                    ShowHoldState();
                }
            }
            Browse();
        }
    }
    ReturnSettings();
}

void GraphicDisplay::ShowCaption() {
    controls_.SetText(gw::fGraphicDisplay, Caption(shownFile_));
}

std::string GraphicDisplay::Caption(std::string_view shownFile) {
    std::string caption(kCaptionPrefix);
    if (shownFile.empty()) {
        caption += kLiveData;
    } else if (shownFile.size() < kWholeNameBelow) {
        caption += shownFile;
    } else {
        caption += "...";
        caption += shownFile.substr(shownFile.size() - kNameEndShown);
    }
    return caption;
}

GraphicDisplay::Settings GraphicDisplay::Current() const {
    Settings current = window_;
    const CourseDisplay::Bounds& cog = course_.Current();
    current.cogLeft = cog.left;
    current.cogTop = cog.top;
    current.cogHeight = cog.clientHeight;
    current.cogWidth = cog.clientWidth;
    current.linearGrid = sampler_.Chart().LinearGrid();
    current.logGrid = sampler_.Chart().LogGrid();
    return current;
}

void GraphicDisplay::ReturnSettings() {
    if (!buttonDisabled_ || sampler_.IsVisible()) return;
    buttonDisabled_ = false;
    mainControls_.SetEnabled(main_window::bGraphicDisplay, true);
    saved_ = Current();
}

void GraphicDisplay::LoadSettings(ConfigFile& file) {
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    saved_.left = file.ReadInt(kLeftKey, saved_.left);
    saved_.top = file.ReadInt(kTopKey, saved_.top);
    saved_.cogLeft = file.ReadInt(kCogLeftKey, saved_.cogLeft);
    saved_.cogTop = file.ReadInt(kCogTopKey, saved_.cogTop);
    saved_.cogHeight = file.ReadInt(kCogHeightKey, saved_.cogHeight);
    saved_.cogWidth = file.ReadInt(kCogWidthKey, saved_.cogWidth);
    saved_.linearGrid = file.ReadFlag(kLinearGridKey, saved_.linearGrid);
    saved_.logGrid = file.ReadFlag(kLogGridKey, saved_.logGrid);
    saved_.bmpIndex = file.ReadInt(kBmpIndexKey, saved_.bmpIndex);
    saved_.dataIndex = file.ReadInt(kDataIndexKey, saved_.dataIndex);
}

void GraphicDisplay::SaveSettings(ConfigFile& file) const {
    // A window still open at the end gives its settings as closing would.
    const Settings s = sampler_.IsVisible() ? Current() : saved_;
    const ConfigFile::SectionScope configuration(file, ConfigFile::kConfigurationSection);
    file.WriteInt(kLeftKey, s.left);
    file.WriteInt(kTopKey, s.top);
    file.WriteInt(kCogLeftKey, s.cogLeft);
    file.WriteInt(kCogTopKey, s.cogTop);
    file.WriteInt(kCogHeightKey, s.cogHeight);
    file.WriteInt(kCogWidthKey, s.cogWidth);
    file.WriteFlag(kLinearGridKey, s.linearGrid);
    file.WriteFlag(kLogGridKey, s.logGrid);
    file.WriteInt(kBmpIndexKey, s.bmpIndex);
    file.WriteInt(kDataIndexKey, s.dataIndex);
}

}  // namespace zelsim
