#pragma once

#include "platform/Desktop.h"
#include "platform/ScriptedPrompts.h"
#include "platform/Services.h"

// Scripted prompts and recording desktop services for one test.
struct TestServices {
  tessera::ScriptedPrompts prompts;
  tessera::RecordingShell shell;
  tessera::FixedLockKeys lockKeys;
  tessera::Services services() { return {prompts, shell, lockKeys}; }
};
