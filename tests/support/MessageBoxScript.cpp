#include "MessageBoxScript.h"

MessageBoxScript::MessageBoxScript(short defaultAnswer)
    : m_previous(COMMONUSELIB::MessageBoxW::answerHook())
    , m_defaultAnswer(defaultAnswer)
{
    COMMONUSELIB::MessageBoxW::setAnswerHook(
            [this](const Record &record) { return reply(record); });
}

MessageBoxScript::~MessageBoxScript()
{
    COMMONUSELIB::MessageBoxW::setAnswerHook(m_previous);
}

MessageBoxScript &MessageBoxScript::answer(short reply)
{
    m_answers.enqueue(reply);
    return *this;
}

MessageBoxScript &MessageBoxScript::answers(const QList<short> &replies)
{
    for (short r : replies)
        m_answers.enqueue(r);
    return *this;
}

QStringList MessageBoxScript::texts() const
{
    QStringList result;
    for (const Record &record : m_records)
        result << record.text;
    return result;
}

QString MessageBoxScript::lastBox() const
{
    if (m_records.isEmpty())
        return QString();
    const Record &box = m_records.constLast();
    return box.title + QLatin1Char('|') + box.text + QLatin1Char('|')
            + QString::number(box.buttons);
}

void MessageBoxScript::clearRecords()
{
    m_records.clear();
}

short MessageBoxScript::reply(const Record &record)
{
    m_records.append(record);
    return m_answers.isEmpty() ? m_defaultAnswer : m_answers.dequeue();
}
