#include "turn/turn_events.h"

#include <algorithm>
#include <string>

namespace velmora {
namespace {

bool IsEventSlot(int slot) {
    return slot >= 0 && slot < kEventSlots;
}

int CaptionLinesOf(const TTelop& telop) {
    return std::min<int>(telop.LineCount, kTelopLines);
}

// One tick of the caption timer; false when the sequence has ended.
bool CaptionTick(GameState& state, TTelop& telop, Frontend& frontend) {
    if (state.TelopTick == CaptionLinesOf(telop)) {
        state.TelopTick = 0;
        frontend.EndCaptionSequence();
        return false;
    }
    if (telop.NextLine == state.TelopTick) {
        frontend.ShowCaptionLine(telop.Lines[telop.NextLine]);
        ++telop.NextLine;
    }
    ++state.TelopTick;
    return true;
}

void RunCaptionSequence(GameState& state, TTelop& telop, Frontend& frontend) {
    // The timer rests at 0 between sequences; a stray value would never
    // meet the line count.
    if (state.TelopTick < 0 || state.TelopTick > CaptionLinesOf(telop)) state.TelopTick = 0;
    while (CaptionTick(state, telop, frontend)) {
    }
}

}  // namespace

void RunTurnEvents(GameState& state, Frontend& frontend) {
    state.EventIndex = state.Turn;
    state.TalkCursor = 0;
    if (!IsEventSlot(state.Turn)) return;
    const auto slot = static_cast<std::size_t>(state.Turn);
    const TEData& event = state.EventTable[slot];
    TTelop& telop = state.TelopTable[slot];

    if (!event.MusicFile.empty()) frontend.PlayMusic(event.MusicFile);
    if (telop.LineCount > 0) RunCaptionSequence(state, telop, frontend);
    if (event.LineCount > 0) RunConversation(state, frontend);
}

void RunConversation(GameState& state, Frontend& frontend) {
    if (!IsEventSlot(state.EventIndex)) return;
    const TEData& event = state.EventTable[static_cast<std::size_t>(state.EventIndex)];
    const int lines = std::clamp(event.LineCount, 0, kConversationLines);
    state.TalkCursor = std::max(state.TalkCursor, 0);

    frontend.ConversationOpen();
    for (; state.TalkCursor < lines; ++state.TalkCursor) {
        const auto line = static_cast<std::size_t>(state.TalkCursor);
        frontend.SayText(event.SpeakerName[line] + "\r" + event.SpeechText[line]);
    }
    frontend.ConversationClose();
}

}  // namespace velmora
