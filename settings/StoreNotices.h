#pragma once

#include <functional>
#include <string>

// What the user must know about the settings file: that it could not be read, was set aside, is
// read-only or could not be saved. Each text says which file and what happens now.

using StoreNoticeHandler = std::function<void(const std::string& text)>;

// Who is told; without a handler (and after setting none) a notice goes to standard error as
// "orvan: <text>".
void SetStoreNoticeHandler(StoreNoticeHandler handler);

// Tells text, unless the same text was told before in this run.
void StoreNotice(const std::string& text);
