#pragma once
// Where the key assignment dialog reads and stores the record it edits: the bank of the profile
// the main window shows, in the working profile data, under its lock. The profiles area
// implements it; tests use a plain bank.

#include "keyboard/key_assignment.h"

namespace kovantis {

class AssignmentRecordStore {
public:
    virtual ~AssignmentRecordStore() = default;
    // Record 0 to 511 of the bank being edited.
    virtual KeyAssignment ReadRecord(int record) = 0;
    // Stores it there and marks the profile changed. releaseText: the LaunchProgram or TextBlock
    // text the record owned is freed. False when nothing was stored.
    virtual bool WriteRecord(int record, const KeyAssignment& value, bool releaseText) = 0;
};

} // namespace kovantis
