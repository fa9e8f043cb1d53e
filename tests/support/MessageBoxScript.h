// Scripted answers for COMMONUSELIB::MessageBoxW in tests.
#pragma once

#include "MessageBoxW.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// While alive, no message box is shown: each box takes the next queued answer (or the
// default answer when the queue is empty) and is recorded. The destructor puts back the
// hook that was installed before.
//
//     MessageBoxScript boxes;
//     boxes.answer(1);            // the first box is accepted
//     page.deleteSelected();
//     QCOMPARE(boxes.count(), 1);
//     QCOMPARE(boxes.last().text, QStringLiteral("Delete selected server?"));
class MessageBoxScript
{
public:
    using Record = COMMONUSELIB::MessageBoxW::Record;

    explicit MessageBoxScript(short defaultAnswer = 0);
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript &) = delete;
    MessageBoxScript &operator=(const MessageBoxScript &) = delete;

    // Queues answers, used in order.
    MessageBoxScript &answer(short reply);
    MessageBoxScript &answers(const QList<short> &replies);
    void setDefaultAnswer(short reply) { m_defaultAnswer = reply; }

    const QList<Record> &records() const { return m_records; }
    int count() const { return m_records.size(); }
    // The last box (an empty record when there was none).
    Record last() const { return m_records.isEmpty() ? Record() : m_records.constLast(); }
    QStringList texts() const;
    // The last box as "title|text|buttons" (empty when there was none).
    QString lastBox() const;
    // Forgets the records (queued answers stay).
    void clearRecords();

private:
    short reply(const Record &record);

    COMMONUSELIB::MessageBoxW::AnswerHook m_previous;
    QQueue<short> m_answers;
    QList<Record> m_records;
    short m_defaultAnswer = 0;
};
