#include "graph/GraphicDisplay.h"

#include <algorithm>

#include "base/ConfigFile.h"
#include "base/MainWindowControls.h"
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

constexpr const char* kCourseDisplayLater = "The course display comes with the GPS windows";

static_assert(GraphicDisplay::kPlaySpeeds.size() == gw::kPlayButtons.size());

}  // namespace

GraphicDisplay::GraphicDisplay(ControlTable& mainControls, RecordSampler& sampler,
                               const SerialPort& port)
    : mainControls_(mainControls), sampler_(sampler), port_(port) {
    controls_.SetText(gw::fGraphicDisplay, kDefaultCaption);
    controls_.SetSize(gw::fGraphicDisplay, kClientWidth, kClientHeight);
    controls_.SetVisible(gw::fGraphicDisplay, false);
    controls_.SetVisible(gw::lPaused, false);
    controls_.SetVisible(gw::lAutoSave, false);
    controls_.SetText(gw::bPause, "&Pause");
    controls_.SetText(gw::bAutoSave, "&Auto Save On");
    // Saving and loading come with the data files.
    for (std::string_view name : {gw::bSaveGraph, gw::bSaveData, gw::bAutoSave})
        controls_.SetEnabled(name, false);
    controls_.SetEnabled(gw::bCogDisplay, false);
    controls_.SetHint(gw::bCogDisplay, kCourseDisplayLater);
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
    sampler_.Hide();
    controls_.SetVisible(gw::fGraphicDisplay, false);
}

void GraphicDisplay::Close() {
    OnHide();
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

void GraphicDisplay::AfterRead(uint32_t /*now*/) {
    if (sampler_.Intervals() != intervalsSeen_) {
        intervalsSeen_ = sampler_.Intervals();
        if (!sampler_.Holding()) {
            Redraw(sampler_.Ring().Head() - 1);
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
