#include "settings/SettingKeys.h"
#include "settings/SettingsBatch.h"
#include "settings/mSettings.h"
#include "ui/frmMain.h"

#include <QDataStream>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include <algorithm>
#include <cstdio>
#include <optional>

// The window's size and place and its panes' sizes, kept between runs. What comes back from the
// file is checked: a window far larger than the screen is painted whole (gigabytes, for
// seconds), and pane sizes near the limits of int overflow the splitter's sums.

namespace {
QByteArray storedBytes(const char* valueName) {
    return QByteArray::fromHex(QByteArray::fromStdString(ReadSetting(valueName)));
}

void storeBytes(const char* valueName, const QByteArray& bytes) {
    const std::string text = bytes.toHex().toStdString();
    if (ReadSetting(valueName) != text)
        WriteSetting(valueName, text);
}

void said(const char* valueName, const char* what) {
    std::fprintf(stderr, "orvan: the remembered \"%s\" %s\n", valueName, what);
}

// The panes' sizes as QSplitter::saveState() keeps them (a mark, a version, the sizes, then what
// the window sets itself). Read here rather than by restoreState(), which believes any count.
std::optional<QList<int>> paneSizes(const QByteArray& state, qsizetype panes) {
    QDataStream stream(state);
    stream.setVersion(QDataStream::Qt_5_0);
    qint32 mark = 0, version = 0;
    quint32 count = 0;
    stream >> mark >> version >> count;
    if (mark != 0xff || version != 1 || count != panes)
        return std::nullopt;
    QList<int> sizes;
    for (quint32 i = 0; i < count; ++i) {
        qint32 size = -1;
        stream >> size;
        if (size < 0)
            return std::nullopt;
        sizes.append(size);
    }
    if (stream.status() != QDataStream::Ok)
        return std::nullopt;
    return sizes;
}

// The place and size of the window in its normal state as QWidget::saveGeometry() keeps them
// (a mark, a version, the frame's and then the normal rectangle): restoreGeometry() moves a
// window that lies off the screen without a word.
std::optional<QRect> storedNormalGeometry(const QByteArray& geometry) {
    QDataStream stream(geometry);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 mark = 0;
    quint16 major = 0, minor = 0;
    QRect frame, normal;
    stream >> mark >> major >> minor >> frame >> normal;
    if (mark != 0x1D9D0CB || stream.status() != QDataStream::Ok)
        return std::nullopt;
    return normal;
}

// Each pane at most as large as the room the window gives the splitter.
void restorePanes(QSplitter* splitter, const char* valueName, int room) {
    const QByteArray state = storedBytes(valueName);
    if (state.isEmpty())
        return;
    const std::optional<QList<int>> sizes = paneSizes(state, splitter->count());
    if (!sizes) {
        said(valueName, "cannot be used; the panes keep their first-run sizes");
        return;
    }
    QList<int> fitted = *sizes;
    for (int& size : fitted)
        size = std::min(size, room);
    if (fitted != *sizes)
        said(valueName, "is larger than the window; the panes are made to fit");
    splitter->setSizes(fitted);
}
} // namespace

// As it was left, within the screen it is on; the first time as large as the screen allows, up
// to a comfortable size. Never smaller than the window's least size, which its layout keeps.
void frmMain::restoreLayout() {
    const QByteArray geometry = storedBytes(key::WindowGeometry);
    const bool restored = !geometry.isEmpty() && restoreGeometry(geometry);
    if (!geometry.isEmpty() && !restored)
        said(key::WindowGeometry, "cannot be used; the window takes its first-run size");
    const QScreen* on = QGuiApplication::screenAt(this->geometry().center());
    if (!on)
        on = screen();
    const QRect room = on ? on->availableGeometry() : QRect(0, 0, 1200, 720);
    // The normal geometry, also of a window restored maximised or full screen.
    const Qt::WindowStates state = windowState();
    setWindowState(Qt::WindowNoState);
    QRect fitted = restored ? this->geometry() : QRect(0, 0, 1200, 720);
    fitted.setSize(fitted.size().boundedTo(room.size()).expandedTo(minimumSizeHint()));
    if (!restored) {
        resize(fitted.size()); // placed by the window manager
    } else {
        fitted.moveLeft(std::clamp(fitted.left(), room.left(),
                                   std::max(room.left(), room.right() + 1 - fitted.width())));
        fitted.moveTop(std::clamp(fitted.top(), room.top(),
                                  std::max(room.top(), room.bottom() + 1 - fitted.height())));
        if (fitted != this->geometry() ||
            storedNormalGeometry(geometry).value_or(fitted) != fitted) {
            said(key::WindowGeometry, "does not fit the screen; the window is made to fit");
            setGeometry(fitted);
        }
    }
    setWindowState(state);
    restorePanes(panes_, key::WindowPanes, width());
    restorePanes(seeAndPlay_, key::WindowSeeAndPlay, height());
}

// Only a window that was shown has a layout of the user's: a hidden one's panes have no sizes.
void frmMain::saveLayout() {
    if (!isVisible())
        return;
    SettingsBatch batch;
    storeBytes(key::WindowGeometry, saveGeometry());
    storeBytes(key::WindowPanes, panes_->saveState());
    storeBytes(key::WindowSeeAndPlay, seeAndPlay_->saveState());
}
