#pragma once
#include <cstdint>
#include <functional>
#include <string_view>

#include "base/LocalTime.h"
#include "base/ProprietarySentences.h"
#include "graph/DeviceIdentities.h"
#include "graph/DiagnosticRecord.h"
#include "graph/RecordRing.h"
#include "graph/StripChart.h"
#include "serial/CyclePart.h"

namespace zelsim {

class SentenceFramer;

// The controller's diagnostics: the latest-values record the decoders keep
// up to date, and, while the graph window is shown, a sample of it about
// every 100 ms into the ring the chart draws and the data files save. The
// device identities travel with the records, and each record gets its plot
// rows from the chart as it is stored. The graph window drives Show, Hide,
// SetHolding and the chart; the responder routes the replies here.
class RecordSampler : public CyclePart {
  public:
    static constexpr uint32_t kSamplePeriodMs = 100;
    static constexpr std::string_view kWheelAngleTrace = "WheelAngle";
    static constexpr std::string_view kYawRateTrace = "YawRate";

    explicit RecordSampler(LocalTimeSource localTime = SystemLocalTime);

    // A controller reply whose record type the caller has read from field 2:
    // the type chooses the decoder; unknown types and short live records
    // are ignored.
    void DecodeDml(SentenceFramer& sentence, proprietary::RecordType type);
    // A device identity reply of the controller or a lightbar; the
    // responder tells which by the name.
    void DecodeDeviceIdentity(SentenceFramer& sentence, DeviceSlot slot);
    // A receiver identity reply: the DGPS receiver.
    void DecodeReceiverIdentity(SentenceFramer& sentence);

    bool IsVisible() const { return visible_; }
    // GraphicDisplayOnShow: the settings readouts wait for the controller's
    // next answer, the ring starts empty, and the first cycle samples.
    void Show();
    // GraphicDisplayOnHide: sampling stops; the ring keeps its records.
    void Hide();
    // bClickClear: the ring emptied and Auto Save switched off without
    // saving.
    void Clear();

    // A second-stage settings reply has come since the window opened.
    bool SettingsArrived() const { return latest_.firstRsp != 0; }

    // bClickHold. On: sampling stops and the next record appended carries
    // the gap marker. Off after a load: the loaded records go, and the live
    // identities are shown again.
    void SetHolding(bool on);
    bool Holding() const { return holding_; }
    // The ring holds a loaded file: live identities do not replace the
    // displayed ones until Hold is released.
    void SetLoadedData(bool on) { loadedData_ = on; }
    bool LoadedData() const { return loadedData_; }

    // bClickAutoSave. On: the next save is due when head comes round to
    // where it is now. Saving what came since when it is switched off is
    // the file writer's.
    void SetAutoSave(bool on);
    bool AutoSave() const { return autoSave_; }
    // Every 4000 records while Auto Save is on: write the whole ring.
    std::function<void()> onAutoSave;
    // saveRecords: the next automatic save counts from `end`.
    void MarkSaved(int end) { ring_.SetAutoSaveMark(static_cast<int16_t>(end)); }
    // Load Data: the ring emptied for a file's records, which keep the
    // identities the file names.
    void StartLoad();

    void AfterRead(uint32_t now) override { SampleLatest(now); }
    // Each sampling interval while the graph window is shown.
    uint32_t NextStepIn(uint32_t now) const override;
    // Every cycle: while visible and not holding, a stamped copy of the
    // latest record into the ring when more than 100 ms have passed.
    void SampleLatest(uint32_t now);
    // Sampling intervals passed while visible, held ones included: the
    // window redraws once for each.
    uint32_t Intervals() const { return intervals_; }
    // One record into the ring, its plot rows filled: sampling and loading
    // a file both come here.
    void AppendRecord(const DiagnosticRecord& record);
    // A scale changed: every stored record's rows again, oldest first.
    void RefillRows();

    const DiagnosticRecord& Latest() const { return latest_; }
    const RecordRing& Ring() const { return ring_; }
    const DeviceIdentities& Identities() const { return identities_; }
    DeviceIdentities& Identities() { return identities_; }
    // The chart's fifth trace shows the yaw rate when the controller sends
    // it in place of the wheel angle.
    std::string_view FifthTraceName() const {
        return chart_.Traces().At(TraceTable::kWheelAngleTrace).name;
    }

    StripChart& Chart() { return chart_; }
    const StripChart& Chart() const { return chart_; }

  private:
    void Stamp(DiagnosticRecord& record) const;

    LocalTimeSource localTime_;
    DiagnosticRecord latest_;
    RecordRing ring_;
    DeviceIdentities identities_;
    bool visible_ = false;
    bool holding_ = false;
    bool holdMarker_ = false;
    bool loadedData_ = false;
    bool autoSave_ = false;
    // A tick count more than 2^31 ms old reads as one in the future, so the
    // first sample after showing does not wait for it.
    bool sampleDue_ = true;
    uint32_t lastSample_ = 0;
    uint32_t intervals_ = 0;
    StripChart chart_{StripChart::kPaintWidth, StripChart::kPaintHeight};
};

}  // namespace zelsim
