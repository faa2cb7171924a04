#include "RecordingCanvas.h"

namespace vocalore {

void TRecordingCanvas::Record(TCanvasCall call) {
    ++CallCount;
    if (!Keep)
        return;
    call.FontSize = FFontSize;
    call.Style = FStyle;
    call.Charset = FCharset;
    call.Page = Pages;
    Calls.push_back(std::move(call));
}

void TRecordingCanvas::BeginJob(const std::string& title) {
    Pages = 1;
    TCanvasCall call;
    call.Kind = TCanvasCall::ckBeginJob;
    call.Text = title;
    Record(std::move(call));
}

void TRecordingCanvas::EndJob() {
    TCanvasCall call;
    call.Kind = TCanvasCall::ckEndJob;
    Record(std::move(call));
}

void TRecordingCanvas::NewPage() {
    ++Pages;
    TCanvasCall call;
    call.Kind = TCanvasCall::ckNewPage;
    Record(std::move(call));
}

int32_t TRecordingCanvas::TextWidth(std::string_view text) {
    return static_cast<int32_t>(text.size()) * CharWidth();
}

int32_t TRecordingCanvas::TextHeight(std::string_view) { return LineHeight(); }

void TRecordingCanvas::DrawText(int32_t x, int32_t y, std::string_view text) {
    TCanvasCall call;
    call.Kind = TCanvasCall::ckText;
    call.X1 = x;
    call.Y1 = y;
    call.X2 = x + TextWidth(text);
    call.Y2 = y + LineHeight();
    call.Text = text;
    Record(std::move(call));
}

void TRecordingCanvas::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    TCanvasCall call;
    call.Kind = TCanvasCall::ckLine;
    call.X1 = x1;
    call.Y1 = y1;
    call.X2 = x2;
    call.Y2 = y2;
    Record(std::move(call));
}

std::vector<const TCanvasCall*> TRecordingCanvas::Texts() const {
    std::vector<const TCanvasCall*> out;
    for (const auto& c : Calls)
        if (c.Kind == TCanvasCall::ckText)
            out.push_back(&c);
    return out;
}

std::vector<const TCanvasCall*> TRecordingCanvas::Lines() const {
    std::vector<const TCanvasCall*> out;
    for (const auto& c : Calls)
        if (c.Kind == TCanvasCall::ckLine)
            out.push_back(&c);
    return out;
}

} // namespace vocalore
