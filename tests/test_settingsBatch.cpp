// A burst of settings calls reads the file at most once and replaces it at most once.
#include "FreshStore.h"
#include "Kit.h"
#include "settings/SettingsBatch.h"
#include "settings/StoreFiles.h"
#include "ui/frmConfig.h"

#include <QCheckBox>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

TEST(SettingsBatch, EachBurstReadsTheFileOnceAndReplacesItOnce) {
    FreshStore store;
    std::optional<Started> h;
    const struct {
        const char* name;
        std::function<void()> prepare, act;
        long reads, replaces; // in act
    } cases[] = {
        {"first start-up", [] {}, [&] { h.emplace(); }, 0, 1},
        {"the dialog's Okay", [] {},
         [&] {
             frmConfig dialog(h->window().Settings(), &h->window());
             dialog.chkRecallWithNativeMode->setChecked(true);
             dialog.btnOkay_Click();
         },
         0, 1},
        {"pads recalled", [] {},
         [&] {
             h->window().btnInitNativeMode_Click();
             h->settle();
         },
         0, 0},
        {"pads saved",
         [&] {
             h->main().bAssignToggled = true;
             h->settle();
         },
         [&] { h->window().SaveSettings(); }, 0, 1},
        {"start-up on a file another program changed",
         [&] {
             h.reset();
             store.write(store.contents() + "; edited\r\n");
         },
         [&] { h.emplace(); }, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        const StoreFileCounts before = StoreFileCounters();
        c.act();
        EXPECT_EQ(StoreFileCounters().reads - before.reads, c.reads);
        EXPECT_EQ(StoreFileCounters().replaces - before.replaces, c.replaces);
    }
}

TEST(SettingsBatch, ReadsSeeItsChangesAndOnlyTheOutermostSaves) {
    FreshStore store;
    WriteSettings("A=1, B=1");
    const std::string before = store.contents();
    {
        SettingsBatch outer;
        WriteSettings("B=2, C=2");
        {
            SettingsBatch inner;
            WriteSetting("D", "2");
            EXPECT_TRUE(inner.commit());
        }
        EXPECT_EQ(ReadSettings({"A", "B", "C", "D"}), "A=1, B=2, C=2, D=2");
        EXPECT_EQ(store.contents(), before);
        EXPECT_TRUE(outer.commit());
        EXPECT_TRUE(outer.commit());
    }
    EXPECT_EQ(store.names(), "A, B, C, D");
    EXPECT_EQ(ReadSettings({"A", "B", "C", "D"}), "A=1, B=2, C=2, D=2");
}
