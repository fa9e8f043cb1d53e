#include "X86WallPreset.h"

#include "ChannelRecordBuilder.h"
#include "DigitalMatrixInteractionPort.h"
#include "FixedText.h"
#include "MatrixManageWidget.h"
#include "MirrorWidget.h"
#include "X86WindowOnAir.h"

#include "MatrixServiceTypes.h"
#include "UserManagerCore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

namespace LUMO_DIGITALMATRIX_MODULE {

namespace {

const QString Kind = QStringLiteral("x86");

bool sameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool inside(const RECT &rect, const RECT &wall)
{
    return rect.left >= wall.left && rect.top >= wall.top && rect.left < rect.right
            && rect.top < rect.bottom && rect.right <= wall.right && rect.bottom <= wall.bottom;
}

bool validSplit(int split)
{
    return split == 1 || split == 4 || split == 9 || split == 16 || split == 25 || split == 36;
}

bool sameRecords(const QVector<_ST_ChnInfo> &a, const QVector<_ST_ChnInfo> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a.at(i), &b.at(i), sizeof(_ST_ChnInfo)) != 0)
            return false;
    }
    return true;
}

QJsonArray rectArray(const RECT &rect)
{
    return QJsonArray {rect.left, rect.top, rect.right, rect.bottom};
}

RECT rectFrom(const QJsonValue &value)
{
    const QJsonArray array = value.toArray();
    RECT rect {};
    if (array.size() == 4) {
        rect.left = array.at(0).toInt();
        rect.top = array.at(1).toInt();
        rect.right = array.at(2).toInt();
        rect.bottom = array.at(3).toInt();
    }
    return rect;
}

bool turning(X86TurnState state)
{
    return state == X86TurnState::Running || state == X86TurnState::Paused;
}

} // namespace

X86WallPreset X86WallPreset::capture(const MatrixManageWidget &wall)
{
    X86WallPreset preset;
    preset.outputs = wall.getLayoutParam(1);
    preset.rows = wall.getLayoutParam(3);
    preset.columns = wall.getLayoutParam(4);
    preset.wallRect = wall.getWallRect();
    const DATACore::UserManagerCore *dataCentre = DATACore::UserManagerCore::instance();
    for (const MirrorWidget *mirror : wall.getMirrors()) {
        Window window;
        window.number = mirror->getIndex();
        window.home = mirror->getHomeRect();
        window.rect = mirror->getMirrorRect();
        window.layer = mirror->getLayer();
        window.split = mirror->getSplitCount();
        window.turn =
                turning(mirror->getTurnState()) ? mirror->getTurnState() : X86TurnState::NoTurn;
        const X86WindowOnAir onAir = wall.windowOnAir(window.number);
        window.records = onAir.records();
        window.interval = window.records.isEmpty() ? 0 : onAir.interval();
        for (const _ST_ChnInfo &record : qAsConst(window.records)) {
            Channel channel;
            channel.name = X86WindowOnAir::channelName(record);
            channel.sequence = record.sequence;
            channel.id = dataCentre
                                 ->channelInfoByDeviceNo(
                                         QString::fromLocal8Bit(FixedText::read(record.ipAddress)),
                                         record.channelNo)
                                 .channelGuid;
            window.channels.append(channel);
        }
        preset.windows.append(window);
    }
    std::sort(preset.windows.begin(), preset.windows.end(), [](const Window &a, const Window &b) {
        return a.home.top != b.home.top ? a.home.top < b.home.top : a.home.left < b.home.left;
    });
    for (int screen = 0; screen < preset.windows.size(); ++screen)
        preset.windows[screen].screen = screen;
    return preset;
}

QByteArray X86WallPreset::toJson() const
{
    QJsonArray windowArray;
    for (const Window &window : windows) {
        QJsonArray channelArray;
        for (const Channel &channel : window.channels)
            channelArray.append(QJsonObject {{"sequence", channel.sequence},
                                             {"channel", channel.id},
                                             {"name", channel.name}});
        windowArray.append(QJsonObject {{"screen", window.screen},
                                        {"number", window.number},
                                        {"home", rectArray(window.home)},
                                        {"rect", rectArray(window.rect)},
                                        {"layer", window.layer},
                                        {"split", window.split},
                                        {"turn", int(window.turn)},
                                        {"interval", window.interval},
                                        {"channels", channelArray}});
    }
    const QJsonObject root {{"version", FormatVersion}, {"kind", Kind},
                            {"outputs", outputs},       {"rows", rows},
                            {"columns", columns},       {"wall", rectArray(wallRect)},
                            {"windows", windowArray}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool X86WallPreset::fromJson(const QByteArray &json, X86WallPreset *preset)
{
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    if (!preset || root.value("version").toInt() != FormatVersion
        || root.value("kind").toString() != Kind)
        return false;
    X86WallPreset read;
    read.outputs = root.value("outputs").toInt();
    read.rows = root.value("rows").toInt();
    read.columns = root.value("columns").toInt();
    read.wallRect = rectFrom(root.value("wall"));
    if (read.rows < 1 || read.columns < 1 || read.rows * read.columns > 64)
        return false;
    const int screens = read.rows * read.columns;
    QVector<bool> seen(screens, false);
    for (const QJsonValue &windowValue : root.value("windows").toArray()) {
        const QJsonObject object = windowValue.toObject();
        Window window;
        window.screen = object.value("screen").toInt(-1);
        window.number = object.value("number").toInt(-1);
        window.home = rectFrom(object.value("home"));
        window.rect = rectFrom(object.value("rect"));
        window.layer = object.value("layer").toInt();
        window.split = object.value("split").toInt();
        const int turn = object.value("turn").toInt(-1);
        window.interval = object.value("interval").toInt();
        if (window.screen < 0 || window.screen >= screens || seen.at(window.screen)
            || window.number < 0 || window.number >= screens || !validSplit(window.split)
            || turn < 0 || turn > 2 || window.interval < 0 || window.interval > 3600
            || !inside(window.rect, read.wallRect) || !inside(window.home, read.wallRect))
            return false;
        seen[window.screen] = true;
        window.turn = X86TurnState(turn);
        for (const QJsonValue &channelValue : object.value("channels").toArray()) {
            const QJsonObject channelObject = channelValue.toObject();
            Channel channel;
            channel.sequence = channelObject.value("sequence").toInt();
            channel.id = channelObject.value("channel").toString();
            channel.name = channelObject.value("name").toString();
            if (channel.sequence < 1 || channel.sequence > 128)
                return false;
            window.channels.append(channel);
        }
        read.windows.append(window);
    }
    if (read.windows.isEmpty())
        return false;
    std::sort(read.windows.begin(), read.windows.end(),
              [](const Window &a, const Window &b) { return a.screen < b.screen; });
    *preset = read;
    return true;
}

const X86WallPreset::Window *X86WallPreset::windowOnScreen(int screen) const
{
    for (const Window &window : windows) {
        if (window.screen == screen)
            return &window;
    }
    return nullptr;
}

QString X86WallPreset::refusal(const X86WallPreset &current) const
{
    if (current.rows < 1 || current.columns < 1 || current.windows.isEmpty())
        return tr("The matrix has no screens arranged: the preset cannot be recalled.");
    return QString();
}

X86WallPreset X86WallPreset::fittedTo(const X86WallPreset &current, QStringList *missing) const
{
    QStringList left;
    X86WallPreset fitted = *this;
    fitted.outputs = current.outputs;
    if (rows * columns > current.outputs) {
        // The arrangement cannot be had: the windows on screens the wall has keep their
        // numbers as the matrix has them.
        left << tr("the screen arrangement of %1 x %2 (the matrix has %3 outputs)")
                        .arg(rows)
                        .arg(columns)
                        .arg(current.outputs);
        fitted.rows = current.rows;
        fitted.columns = current.columns;
        fitted.wallRect = current.wallRect;
        fitted.windows.clear();
        for (const Window &window : windows) {
            const int row = window.screen / columns;
            const int column = window.screen % columns;
            const Window *there = row < current.rows && column < current.columns
                    ? current.windowOnScreen(row * current.columns + column)
                    : nullptr;
            if (!there) {
                left << tr("window %1").arg(window.number + 1);
                continue;
            }
            Window moved = window;
            moved.screen = there->screen;
            moved.number = there->number;
            moved.home = there->home;
            if (!inside(moved.rect, current.wallRect)) {
                left << tr("the place of window %1").arg(window.number + 1);
                moved.rect = moved.home;
            }
            if (sameRect(moved.rect, moved.home))
                moved.layer = 0;
            fitted.windows.append(moved);
        }
    }
    for (Window &window : fitted.windows) {
        window.records.clear();
        QList<Channel> kept;
        for (const Channel &channel : qAsConst(window.channels)) {
            bool found = false;
            const _ST_ChnInfo record =
                    ChannelRecordBuilder::forChannel(channel.id, channel.sequence, &found);
            if (!found) {
                const QString name = tr("the channel \"%1\"").arg(channel.name);
                if (!left.contains(name))
                    left << name;
                continue;
            }
            kept.append(channel);
            window.records.append(record);
        }
        if (kept.isEmpty() && !window.channels.isEmpty()) {
            // Nothing of the window's channels is left: it keeps what it shows.
            const Window *now = current.windowOnScreen(window.screen);
            window.channels = now ? now->channels : QList<Channel>();
            window.records = now ? now->records : QVector<_ST_ChnInfo>();
            window.interval = now ? now->interval : 0;
            window.turn = now ? now->turn : X86TurnState::NoTurn;
        } else {
            window.channels = kept;
        }
    }
    if (missing)
        *missing = left;
    return fitted;
}

QList<X86WallPreset::Step> X86WallPreset::stepsFrom(const X86WallPreset &from) const
{
    QList<Step> steps;
    X86WallPreset now = from;
    auto add = [&steps](int command, int monitor, const QString &what) -> Step & {
        Step step;
        step.command = command;
        step.monitor = monitor;
        step.what = what;
        steps.append(step);
        return steps.last();
    };
    for (Window &window : now.windows) {
        if (turning(window.turn)) {
            add(X86CommandSetTurnState, window.number,
                tr("stopping the turn show of window %1").arg(window.number + 1))
                    .first = int(X86TurnState::NoTurn);
            window.turn = X86TurnState::NoTurn;
        }
    }
    if (now.rows != rows || now.columns != columns) {
        Step &step = add(X86CommandSetScreenCount, -1, tr("the screen arrangement"));
        step.first = rows;
        step.second = columns;
        // The matrix builds one window per screen, numbered row by row, on its screen.
        now.rows = rows;
        now.columns = columns;
        now.windows.clear();
        for (const Window &target : windows) {
            Window fresh;
            fresh.screen = target.screen;
            fresh.number = target.screen;
            fresh.home = target.home;
            fresh.rect = target.home;
            now.windows.append(fresh);
        }
    }
    // Numbers: swapped screen by screen until each screen has the preset's window.
    for (const Window &target : windows) {
        Window *here = nullptr;
        Window *holder = nullptr;
        for (Window &window : now.windows) {
            if (window.screen == target.screen)
                here = &window;
            if (window.number == target.number)
                holder = &window;
        }
        if (!here || !holder || here == holder)
            continue;
        add(X86CommandExchangeMirrors, here->number,
            tr("the numbers of windows %1 and %2").arg(here->number + 1).arg(target.number + 1))
                .first = target.number;
        std::swap(here->number, holder->number);
    }
    // Rectangles: the matrix puts the window moved last on top (layer 1), so the windows
    // below it are placed first.
    QList<const Window *> placed;
    const Window *top = nullptr;
    for (const Window &target : windows) {
        const Window *was = now.windowOnScreen(target.screen);
        if (target.layer == 1)
            top = &target;
        if (!was || !sameRect(was->rect, target.rect) || was->layer != target.layer)
            placed.append(&target);
    }
    if (!placed.isEmpty() && top && !placed.contains(top))
        placed.append(top);
    std::stable_sort(placed.begin(), placed.end(), [](const Window *a, const Window *b) {
        auto rank = [](int layer) { return layer == 0 ? 0 : layer == 1 ? 2 : 1; };
        return rank(a->layer) < rank(b->layer);
    });
    for (const Window *target : qAsConst(placed)) {
        add(X86CommandSetMirrorRect, target->number,
            tr("the place of window %1").arg(target->number + 1))
                .rect = target->rect;
    }
    for (const Window &target : windows) {
        const Window *was = now.windowOnScreen(target.screen);
        if (!was || was->split != target.split)
            add(X86CommandSetMonitorSplit, target.number,
                tr("the split of window %1").arg(target.number + 1))
                    .first = target.split;
    }
    for (const Window &target : windows) {
        const Window *was = now.windowOnScreen(target.screen);
        const QString what = tr("the channels of window %1").arg(target.number + 1);
        const bool same = was && sameRecords(was->records, target.records)
                && (target.records.isEmpty() || was->interval == target.interval);
        if (!same) {
            if (target.records.isEmpty()) {
                add(X86CommandClearSource, target.number, what);
            } else {
                Step &step = add(target.interval > 0 ? X86CommandSetMonitorTurnSources
                                                     : X86CommandSetMonitorSources,
                                 target.number, what);
                step.records = target.records;
                step.interval = target.interval;
            }
        }
        const QString turn = tr("the turn show of window %1").arg(target.number + 1);
        if (turning(target.turn))
            add(X86CommandSetTurnState, target.number, turn).first = int(X86TurnState::Running);
        if (target.turn == X86TurnState::Paused)
            add(X86CommandSetTurnState, target.number, turn).first = int(X86TurnState::Paused);
        // Turn sources arrive loaded and paused: a preset without a turn show stops them.
        if (!same && !turning(target.turn) && target.interval > 0 && !target.records.isEmpty())
            add(X86CommandSetTurnState, target.number, turn).first = int(X86TurnState::NoTurn);
    }
    return steps;
}

void X86WallPreset::send(DigitalMatrixInteractionPort *port, const Step &step)
{
    switch (step.command) {
    case X86CommandSetTurnState:
        port->setTurnState(step.monitor, X86TurnState(step.first));
        break;
    case X86CommandSetScreenCount:
        port->setScreenCount(step.first, step.second);
        break;
    case X86CommandExchangeMirrors:
        port->exchangeMirrors(step.monitor, step.first);
        break;
    case X86CommandSetMirrorRect:
        port->setMirrorRect(step.monitor, step.rect);
        break;
    case X86CommandSetMonitorSplit:
        port->setMonitorSplit(step.monitor, step.first);
        break;
    case X86CommandClearSource:
        port->clearSource(step.monitor);
        break;
    case X86CommandSetMonitorSources:
        port->setMonitorSources(step.monitor, step.records.constData(), step.records.size());
        break;
    case X86CommandSetMonitorTurnSources:
        port->setMonitorTurnSources(step.monitor, step.records.constData(), step.records.size(),
                                    step.interval);
        break;
    default:
        break;
    }
}

} // namespace LUMO_DIGITALMATRIX_MODULE
