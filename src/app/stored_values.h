#pragma once

#include "settings/profile_file.h"
#include "ui/main_dialog_logic.h"

namespace quarvel {

// Section "Last Values": the main dialog's port index, channel index and file path.
LastValues readLastValues(const ProfileFile& settings);
// Written in the order "Comm Port", "Midi Channel", "Transfer File", one write each; a write that
// fails is not reported, as the operator can do nothing about it at exit.
void writeLastValues(ProfileFile& settings, const LastValues& values);
// Takes over the last values of an earlier settings file, once: only while the settings file
// does not exist yet and the earlier one does. False when nothing was taken over.
bool adoptLastValues(const ProfileFile& earlier, ProfileFile& settings);

} // namespace quarvel
