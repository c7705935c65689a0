#include "settings/StoreNotices.h"

#include <cstdio>
#include <set>

namespace {
struct Notices {
    StoreNoticeHandler handler;
    std::set<std::string> told;
};

Notices& notices() {
    static Notices state;
    return state;
}
} // namespace

void SetStoreNoticeHandler(StoreNoticeHandler handler) {
    notices().handler = std::move(handler);
}

void StoreNotice(const std::string& text) {
    Notices& state = notices();
    if (!state.told.insert(text).second)
        return;
    if (state.handler)
        state.handler(text);
    else
        std::fprintf(stderr, "orvan: %s\n", text.c_str());
}
