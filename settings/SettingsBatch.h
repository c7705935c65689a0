#pragma once

// While one lives, settings are read from the file once and written to memory; they are saved
// together, in one replacement of the file, by commit() or at the end of the scope:
//
//     SettingsBatch batch;
//     WriteSetting(...); ...
//     const bool saved = batch.commit();
//
// Reads inside see what was written. A batch inside another joins it, and the outermost saves.
// Values another process saved meanwhile are kept.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

    // Saves what was written; false when it could not be saved (the user has been told why).
    // Later calls answer the same.
    bool commit();

private:
    bool open_ = true;
    bool saved_ = true;
};
