// Built without Qt's text-to-speech module: there is no speech service.

#include "Speaker.h"

namespace vocalore {

std::unique_ptr<TSpeechBackend> MakeDesktopSpeech() { return nullptr; }

} // namespace vocalore
