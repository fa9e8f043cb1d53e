// What an X86 wall holds, as a preset to store in the data centre and send back later.
#pragma once

#include "digitalmatrix_export.h"

#include "MatrixMetaTypes.h"
#include "MatrixStates.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

namespace LUMO_DIGITALMATRIX_MODULE {

class DigitalMatrixInteractionPort;
class MatrixManageWidget;

// Every window of an X86 wall (its screen, rectangle, layer and number), its split, its
// channels and its turn show. The payload is JSON with "version" 1 and "kind" "x86"; the
// channels are kept by their data-centre key, so that no device account goes into it.
class DIGITALMATRIX_EXPORT X86WallPreset
{
    Q_DECLARE_TR_FUNCTIONS(LUMO_DIGITALMATRIX_MODULE::X86WallPreset)

public:
    static constexpr int FormatVersion = 1;

    struct Channel
    {
        QString id; // data-centre key; empty when the matrix shows a channel the site lacks
        QString name;
        int sequence = 1; // 1-based pane position
    };

    struct Window
    {
        int screen = 0; // row by row
        int number = 0; // the window's index on the matrix
        RECT home {};
        RECT rect {};
        int layer = 0;
        int split = 1;
        X86TurnState turn = X86TurnState::NoTurn;
        int interval = 0; // seconds, 0 for a fixed set
        QList<Channel> channels;
        // The records to send (as the matrix reported them, or built for a recall).
        QVector<_ST_ChnInfo> records;
    };

    // One command of a recall.
    struct Step
    {
        int command = 0; // MatrixX86Command
        int monitor = -1;
        int first = 0; // rows, the other window of a swap, a split or a turn state
        int second = 0; // columns
        RECT rect {};
        int interval = 0;
        QVector<_ST_ChnInfo> records;
        QString what; // names the step in a message
    };

    // What the wall shows of the connected matrix (the matrix's report, never what the page
    // sent last).
    static X86WallPreset capture(const MatrixManageWidget &wall);
    QByteArray toJson() const;
    // False for bytes that are no X86 preset of this format.
    static bool fromJson(const QByteArray &json, X86WallPreset *preset);

    // Why nothing of the preset can be applied to the wall captured as current; empty when
    // something can.
    QString refusal(const X86WallPreset &current) const;
    // The preset as it applies to the wall captured as current, with its records built from
    // the data centre; what does not fit (the screen arrangement, windows, places, channels
    // deleted since) is left out and named in missing.
    X86WallPreset fittedTo(const X86WallPreset &current, QStringList *missing) const;

    // The commands that turn the wall from (as captured) into this one: the turn shows of
    // from stop first, then the screen arrangement, the numbers, the rectangles (layers in
    // order), the splits, the sources and the turn shows.
    QList<Step> stepsFrom(const X86WallPreset &from) const;
    static void send(DigitalMatrixInteractionPort *port, const Step &step);

    const Window *windowOnScreen(int screen) const;

    int outputs = 0;
    int rows = 0;
    int columns = 0;
    RECT wallRect {};
    QList<Window> windows; // by screen
};

} // namespace LUMO_DIGITALMATRIX_MODULE
