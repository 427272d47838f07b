#pragma once

namespace velmora {

// How a mode that reads a file answers on standard output: lines for people, or JSON for
// scripts.
enum class AnswerForm { kLines, kJson };

}  // namespace velmora
