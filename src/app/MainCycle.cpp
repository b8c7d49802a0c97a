#include "app/MainCycle.h"

#include <algorithm>

#include "base/TickClock.h"
#include "monitor/MessageCategory.h"
#include "monitor/MessageClassifier.h"
#include "serial/SentenceWriters.h"
#include "serial/SerialPort.h"

namespace zelsim {

namespace {
constexpr char kNoLineEnd = '~';
}  // namespace

MainCycle::MainCycle(TickClock& clock, SerialPort& port, std::vector<CyclePart*> parts)
    : clock_(clock), port_(port), parts_(std::move(parts)), lastLineTime_(clock.TickNow()) {}

void MainCycle::Tick() {
    // A handler that pumps messages (a modal box) would run the cycle again
    // inside itself: that cycle returns at once.
    if (cycleBusy_) return;
    cycleBusy_ = true;
    const uint32_t now = clock_.TickNow();
    for (CyclePart* part : parts_) part->BeforeRead(now);
    ReadLine(now);
    for (CyclePart* part : parts_) part->AfterRead(now);
    cycleBusy_ = false;
}

uint32_t MainCycle::NextStepIn() const {
    const uint32_t now = clock_.TickNow();
    uint32_t next = CyclePart::kNoStep;
    for (const CyclePart* part : parts_) next = std::min(next, part->NextStepIn(now));
    return next;
}

void MainCycle::ReadLine(uint32_t now) {
    const size_t received = port_.Read(receiveBuffer_.data(), receiveBuffer_.size());
    for (size_t i = 0; i < received; ++i) {
        switch (framer_.Feed(receiveBuffer_[i], now)) {
            case SentenceFramer::kLineReady:
                OnRawLine(now);
                break;
            case SentenceFramer::kSentenceReady:
                OnSentence(now);
                break;
            default:
                break;
        }
    }
}

bool MainCycle::Withheld() const {
    // Noise at a wrong rate would flood the monitor: from the fifth garbage
    // line in a row on, nothing is shown until a clean line arrives.
    return framer_.GarbageCount() > kGarbageLinesShown;
}

void MainCycle::OnRawLine(uint32_t now) {
    size_t length = 0;
    framer_.CopyOut(lineBuffer_, length);
    const std::string_view line(lineBuffer_, length);
    if (!Withheld()) {
        lastLineTime_ = now;
        bool hidden = false;
        for (const CyclePart* part : parts_) hidden = hidden || part->HidesReceivedLine(line);
        if (!hidden) Show(line, MessageCategory::kNonNmea, LineDirection::kReceived);
    }
    // A script waiting for a reply, and a transfer counting them, hear every
    // line, noise included.
    for (CyclePart* part : parts_) part->RawLineFramed(line, now);
}

void MainCycle::OnSentence(uint32_t now) {
    if (!Withheld()) {
        lastLineTime_ = now;
        size_t length = 0;
        framer_.CopyOut(lineBuffer_, length);
        Show({lineBuffer_, length}, MessageClassifier::Classify(framer_), LineDirection::kReceived);
    }
    for (CyclePart* part : parts_) part->SentenceFramed(framer_, now);
}

void MainCycle::Show(std::string_view text, uint8_t category, LineDirection direction) {
    const TrafficLine line{text, category, lastLineTime_, direction};
    for (CyclePart* part : parts_) part->LineShown(line);
    // Sent or noted between two cycles (a key, a click): the cycle may be
    // asleep and must show it.
    if (!cycleBusy_ && onActivity) onActivity();
}

bool MainCycle::SendSentence(std::string_view text) {
    if (!port_.IsOpen()) return false;
    // A line dropped because the far end is too far behind is not shown as
    // sent: the connection says how much was dropped.
    if (!WriteSentence(port_, text)) return false;
    lastLineTime_ = clock_.TickNow();
    Show(text, MessageClassifier::ClassifyOutgoing(text), LineDirection::kSent);
    return true;
}

bool MainCycle::SendLine(std::string_view text) {
    if (!port_.IsOpen()) return false;
    const bool written = !text.empty() && text.back() == kNoLineEnd
                             ? WriteRaw(port_, text.substr(0, text.size() - 1))
                             : WriteRawLine(port_, text);
    if (!written) return false;
    lastLineTime_ = clock_.TickNow();
    Show(text, MessageClassifier::ClassifyOutgoing(text), LineDirection::kSent);
    return true;
}

void MainCycle::ShowNote(std::string_view text) {
    Show(text, MessageClassifier::ClassifyText(text), LineDirection::kNote);
}

void MainCycle::LoadSettings(ConfigFile& file) {
    for (CyclePart* part : parts_) part->LoadSettings(file);
}

void MainCycle::SaveSettings(ConfigFile& file) const {
    for (const CyclePart* part : parts_) part->SaveSettings(file);
}

}  // namespace zelsim
