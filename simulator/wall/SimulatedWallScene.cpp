#include "SimulatedWallScene.h"

#include <QCryptographicHash>
#include <QMap>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qreal ScreenW = SimX86ScreenWidth;
constexpr qreal ScreenH = SimX86ScreenHeight;
// Service units of a Linux grid: one screen.
constexpr qreal LinuxUnit = 1000000.0;
constexpr int LinuxOutputs = 4;

QString fixedText(const char *field, int size, QTextCodec *codec)
{
    const int length = int(strnlen(field, size_t(size)));
    const QByteArray bytes(field, length);
    return codec ? codec->toUnicode(bytes) : QString::fromLocal8Bit(bytes);
}

int sideOf(int split)
{
    const int side = int(std::lround(std::sqrt(double(qMax(1, split)))));
    return qMax(1, side);
}

QVector<QRectF> paneRects(const QRectF &rect, int split)
{
    const int side = sideOf(split);
    QVector<QRectF> panes;
    const qreal w = rect.width() / side;
    const qreal h = rect.height() / side;
    for (int r = 0; r < side; ++r) {
        for (int c = 0; c < side; ++c)
            panes.append(QRectF(rect.left() + c * w, rect.top() + r * h, w, h));
    }
    return panes;
}

QByteArray signatureOf(std::initializer_list<QByteArray> parts)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QByteArray &part : parts) {
        hash.addData(QByteArray::number(part.size()));
        hash.addData(part);
    }
    return hash.result();
}

template<typename T>
QByteArray bytesOf(const QVector<T> &records)
{
    return QByteArray(reinterpret_cast<const char *>(records.constData()),
                      int(records.size() * sizeof(T)));
}

QRectF screenRect(int position, int columns)
{
    return QRectF((position % columns) * ScreenW, (position / columns) * ScreenH, ScreenW, ScreenH);
}

QRectF fromRect(const RECT &rect)
{
    return QRectF(QPointF(rect.left, rect.top), QPointF(rect.right, rect.bottom));
}

} // namespace

bool LinuxWallHang::parse(const QString &text, LinuxWallHang *hang, QString *error)
{
    static const QRegularExpression pattern(
            QStringLiteral("^\\s*(?:(\\d+)\\s*[xX]\\s*(\\d+))?\\s*:?\\s*([\\d\\s,]*)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch() || text.trimmed().isEmpty()) {
        *error = QStringLiteral("expected ROWSxCOLUMNS:OUTPUTS, e.g. 2x2:2,1,4,3");
        return false;
    }
    LinuxWallHang parsed;
    QVector<int> outputs;
    const QString list = match.captured(3).trimmed();
    if (!list.isEmpty()) {
        for (const QString &part : list.split(QLatin1Char(','))) {
            bool ok = false;
            const int output = part.trimmed().toInt(&ok);
            if (!ok || output < 1 || output > LinuxOutputs || outputs.contains(output)) {
                *error = QStringLiteral("outputs must be distinct numbers 1..%1").arg(LinuxOutputs);
                return false;
            }
            outputs.append(output);
        }
    }
    if (!match.captured(1).isEmpty()) {
        parsed.rows = match.captured(1).toInt();
        parsed.columns = match.captured(2).toInt();
    } else if (outputs.size() == 4) {
        parsed.rows = 2;
        parsed.columns = 2;
    } else {
        parsed.rows = 1;
        parsed.columns = qMax(1, int(outputs.size()));
    }
    const int positions = parsed.rows * parsed.columns;
    if (parsed.rows < 1 || parsed.columns < 1 || positions > LinuxOutputs) {
        *error = QStringLiteral("at most %1 screens hang on the wall").arg(LinuxOutputs);
        return false;
    }
    if (outputs.isEmpty()) {
        for (int k = 1; k <= positions; ++k)
            outputs.append(k);
    }
    if (outputs.size() != positions) {
        *error = QStringLiteral("%1 x %2 needs %3 outputs, %4 given")
                         .arg(parsed.rows)
                         .arg(parsed.columns)
                         .arg(positions)
                         .arg(outputs.size());
        return false;
    }
    parsed.outputs = outputs;
    *hang = parsed;
    return true;
}

QString LinuxWallHang::toString() const
{
    QStringList numbers;
    for (int output : outputs)
        numbers.append(QString::number(output));
    return QStringLiteral("%1x%2:%3").arg(rows).arg(columns).arg(numbers.join(QLatin1Char(',')));
}

QString SimulatedWallScene::x86ChannelName(const _ST_ChnInfo &record)
{
    static QTextCodec *gbk = QTextCodec::codecForName("GBK");
    const QString name = fixedText(record.channelName, sizeof(record.channelName), gbk);
    if (!name.isEmpty())
        return name;
    return QStringLiteral("%1 #%2")
            .arg(fixedText(record.ipAddress, sizeof(record.ipAddress), nullptr))
            .arg(record.channelNo);
}

QString SimulatedWallScene::linuxChannelName(const CellChannelRecord &record,
                                             const WallChannelNamer &namer)
{
    const QString address = fixedText(record.deviceAddress, sizeof(record.deviceAddress), nullptr);
    if (namer) {
        const QString name = namer(address, record.channelNo);
        if (!name.isEmpty())
            return name;
    }
    QString device = fixedText(record.deviceText1, sizeof(record.deviceText1), nullptr);
    if (device.isEmpty())
        device = address;
    return QStringLiteral("%1 #%2").arg(device).arg(record.channelNo);
}

WallPicture SimulatedWallScene::x86Picture(const SimX86State &state, WallTurnClock *clock,
                                           qint64 nowMs)
{
    WallPicture picture;
    const int screens = state.rows * state.columns;
    if (screens <= 0) {
        // No arrangement: the outputs stand in one row and show nothing.
        const int columns = qMin(qMax(1, state.outputs), 4);
        const int rows = (qMax(1, state.outputs) + columns - 1) / columns;
        picture.size = QSizeF(columns * ScreenW, rows * ScreenH);
        for (int k = 0; k < state.outputs; ++k)
            picture.screens.append({screenRect(k, columns), k + 1, false, false});
        picture.title = tr("X86 matrix: %1 outputs, no screen arrangement yet").arg(state.outputs);
    } else {
        picture.size = QSizeF(state.columns * ScreenW, state.rows * ScreenH);
        for (int k = 0; k < screens; ++k)
            picture.screens.append({screenRect(k, state.columns), k + 1, false, true});
        picture.title = tr("X86 matrix: %1 x %2 screens").arg(state.rows).arg(state.columns);
        if (screens < state.outputs) {
            QStringList spare;
            for (int output = screens + 1; output <= state.outputs; ++output)
                spare.append(QString::number(output));
            picture.notes.append(
                    tr("Outputs not on the wall: %1").arg(spare.join(QStringLiteral(", "))));
        }
    }
    if (state.configMode)
        picture.notes.append(tr("Configuration mode"));
    if (!state.operators.isEmpty()) {
        QStringList shown;
        for (const QString &user : state.operators)
            shown.append(user.isEmpty() ? tr("(no user name)") : user);
        picture.notes.append(tr("Operators: %1").arg(shown.join(QStringLiteral(", "))));
    }

    // Layer 0 lies on its screen, layer 2 above it, the window moved last (layer 1) on top.
    QVector<const SimX86Window *> order;
    for (const SimX86Window &window : state.windows)
        order.append(&window);
    auto rank = [](int layer) { return layer == 1 ? 2 : (layer == 2 ? 1 : 0); };
    std::stable_sort(order.begin(), order.end(), [&](const SimX86Window *a, const SimX86Window *b) {
        return rank(a->layer) < rank(b->layer);
    });

    for (const SimX86Window *window : order) {
        WallWindow shape;
        shape.rect = fromRect(window->rect);
        shape.label = QString::number(window->index + 1);
        shape.selected = window->index == state.selectedMonitor;
        const int split = qMax(1, window->split);

        QVector<_ST_ChnInfo> sorted = window->sources;
        std::stable_sort(
                sorted.begin(), sorted.end(),
                [](const _ST_ChnInfo &a, const _ST_ChnInfo &b) { return a.sequence < b.sequence; });
        const bool paging = sorted.size() > split;
        const int pages = paging ? (int(sorted.size()) + split - 1) / split : 1;
        const QString key = QStringLiteral("x86/%1").arg(window->index);
        const bool running = window->turnState == 1;
        int page = 0;
        if (clock) {
            clock->update(key,
                          signatureOf({QByteArray::number(split),
                                       QByteArray::number(window->turnInterval),
                                       bytesOf(window->sources)}),
                          running && paging, nowMs);
            page = clock->page(key, pages, window->turnInterval, nowMs);
        } else {
            // Without a clock: the page the matrix has on air.
            page = qBound(0, window->turnPage, pages - 1);
        }

        auto contentOfPane = [&](int pane) -> QString {
            if (paging) {
                const int at = page * split + pane;
                return at < sorted.size() ? x86ChannelName(sorted.at(at)) : QString();
            }
            for (const _ST_ChnInfo &record : sorted) {
                if (record.sequence == pane + 1)
                    return x86ChannelName(record);
            }
            return QString();
        };

        if (window->zoomedPane > 0 && window->zoomedPane <= split) {
            shape.panes.append({shape.rect, contentOfPane(window->zoomedPane - 1)});
        } else {
            const QVector<QRectF> rects = paneRects(shape.rect, split);
            for (int pane = 0; pane < rects.size(); ++pane)
                shape.panes.append({rects.at(pane), contentOfPane(pane)});
        }

        if (window->turnState == 1 && paging) {
            shape.status = tr("Turn show: page %1 of %2, every %3 s")
                                   .arg(page + 1)
                                   .arg(pages)
                                   .arg(window->turnInterval);
        } else if (window->turnState == 1) {
            shape.status = tr("Turn show running");
        } else if (window->turnState == 2) {
            shape.status = paging ? tr("Turn show paused: page %1 of %2").arg(page + 1).arg(pages)
                                  : tr("Turn show paused");
        }
        picture.windows.append(shape);
    }
    if (clock)
        clock->dropStale();
    return picture;
}

WallPicture SimulatedWallScene::linuxPicture(const SimLinuxState &state, const LinuxWallHang &hang,
                                             WallTurnClock *clock, qint64 nowMs,
                                             const WallChannelNamer &namer)
{
    WallPicture picture;
    const int positions = hang.rows * hang.columns;
    picture.size = QSizeF(hang.columns * ScreenW, hang.rows * ScreenH);

    const int gridCount = state.gridRows * state.gridColumns;
    const bool hasGrid = gridCount > 0 && state.grid.size() == gridCount;
    if (hasGrid) {
        picture.title =
                tr("Linux matrix: %1 x %2 cells").arg(state.gridRows).arg(state.gridColumns);
    } else if (state.rows > 0) {
        picture.title =
                tr("Linux matrix: %1 x %2 saved, no cells yet").arg(state.rows).arg(state.columns);
    } else {
        picture.title = tr("Linux matrix: no rows and columns yet");
    }
    if (state.arrangeMode)
        picture.notes.append(tr("Arrangement mode: every screen shows its number"));
    if (state.meltedCell >= 0)
        picture.notes.append(tr("Cell %1 spread over the wall").arg(state.meltedCell + 1));
    QStringList spare;
    for (int output = 1; output <= LinuxOutputs; ++output) {
        if (!hang.outputs.contains(output))
            spare.append(QString::number(output));
    }
    if (!spare.isEmpty())
        picture.notes.append(
                tr("Outputs not on the wall: %1").arg(spare.join(QStringLiteral(", "))));

    // Each cell as it lies on the logical grid, with its panes.
    QMap<int, WallWindow> cellShapes;
    auto shapeOfCell = [&](int cell) -> WallWindow {
        auto found = cellShapes.constFind(cell);
        if (found != cellShapes.constEnd())
            return *found;
        WallWindow shape;
        if (cell == state.meltedCell) {
            shape.rect = QRectF(0, 0, state.gridColumns * ScreenW, state.gridRows * ScreenH);
        } else {
            const ScreenRegion &region = state.grid.at(cell);
            shape.rect =
                    QRectF(region.left / LinuxUnit * ScreenW, region.top / LinuxUnit * ScreenH,
                           region.width / LinuxUnit * ScreenW, region.height / LinuxUnit * ScreenH);
        }
        shape.label = tr("Cell %1").arg(cell + 1);
        const SimLinuxCell data = cell < state.cells.size() ? state.cells.at(cell) : SimLinuxCell();
        const int split = qMax(1, data.split);
        QMap<int, CellChannelRecord> byPosition;
        int last = -1;
        for (const CellChannelRecord &record : data.channels) {
            byPosition.insert(record.position, record);
            last = qMax(last, record.position);
        }
        const int pages = qMax(1, (last + split) / split);
        const bool running = data.turnState == 0;
        const QString key = QStringLiteral("linux/%1").arg(cell);
        int page = 0;
        if (clock) {
            clock->update(
                    key,
                    signatureOf({QByteArray::number(split), QByteArray::number(data.turnInterval),
                                 bytesOf(data.channels)}),
                    running && pages > 1, nowMs);
            page = data.turnState == 2 ? 0 : clock->page(key, pages, data.turnInterval, nowMs);
        } else {
            page = data.turnState == 2 ? 0 : qBound(0, data.turnPage, pages - 1);
        }
        auto textAt = [&](int position) {
            auto it = byPosition.constFind(position);
            return it == byPosition.constEnd() ? QString() : linuxChannelName(*it, namer);
        };
        if (data.singleWindow) {
            shape.panes.append({shape.rect, textAt(data.window)});
        } else {
            const QVector<QRectF> rects = paneRects(shape.rect, split);
            for (int pane = 0; pane < rects.size(); ++pane)
                shape.panes.append({rects.at(pane), textAt(page * split + pane)});
        }
        if (data.turnState == 0) {
            shape.status = pages > 1 ? tr("Turn show: page %1 of %2, every %3 s")
                                               .arg(page + 1)
                                               .arg(pages)
                                               .arg(data.turnInterval)
                                     : tr("Turn show running");
        } else if (data.turnState == 1) {
            shape.status = tr("Turn show paused: page %1 of %2").arg(page + 1).arg(pages);
        }
        cellShapes.insert(cell, shape);
        return shape;
    };

    for (int position = 0; position < positions && position < hang.outputs.size(); ++position) {
        const int output = hang.outputs.at(position);
        WallScreen screen;
        screen.rect = screenRect(position, hang.columns);
        screen.number = output;
        screen.showNumberLarge = state.arrangeMode;
        // The grid position whose picture this output carries.
        int gridPosition = -1;
        if (hasGrid) {
            for (int k = 0; k < gridCount && k < state.screenMap.size(); ++k) {
                if (quint8(state.screenMap.at(k)) == output - 1) {
                    gridPosition = k;
                    break;
                }
            }
        }
        screen.hasPicture = gridPosition >= 0;
        picture.screens.append(screen);
        if (gridPosition < 0)
            continue;
        const int cell = state.meltedCell >= 0 ? state.meltedCell : gridPosition;
        if (cell >= state.grid.size())
            continue;
        WallWindow shape = shapeOfCell(cell);
        // Move the grid position's part of the cell onto this screen.
        const QPointF shift =
                screen.rect.topLeft() - screenRect(gridPosition, state.gridColumns).topLeft();
        shape.rect.translate(shift);
        for (WallPane &pane : shape.panes)
            pane.rect.translate(shift);
        shape.clip = screen.rect;
        picture.windows.append(shape);
    }
    if (clock)
        clock->dropStale();
    return picture;
}
