#include "ModalDriver.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

ModalDriver::ModalDriver(Action action, int maxTries, int intervalMs, QObject *parent)
    : QObject(parent)
    , m_action(std::move(action))
    , m_maxTries(qMax(1, maxTries))
{
    m_timer.setInterval(qMax(0, intervalMs));
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
}

ModalDriver::~ModalDriver() = default;

void ModalDriver::start()
{
    m_skip = QApplication::activeModalWidget();
    m_triesLeft = m_maxTries;
    m_ran = false;
    m_timer.start();
}

void ModalDriver::stop()
{
    m_timer.stop();
}

void ModalDriver::closeModal(QWidget *modal)
{
    if (!modal || !modal->isVisible())
        return;
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

void ModalDriver::onNextModal(Action action, int maxTries, int intervalMs)
{
    auto *driver = new ModalDriver(std::move(action), maxTries, intervalMs, qApp);
    driver->m_selfDelete = true;
    driver->start();
}

void ModalDriver::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == m_skip) {
        if (--m_triesLeft <= 0) {
            m_timer.stop();
            if (m_selfDelete)
                deleteLater();
        }
        return;
    }
    m_timer.stop();
    m_ran = true;
    QPointer<QWidget> guard(modal);
    if (m_action)
        m_action(modal);
    if (guard)
        closeModal(guard);
    if (m_selfDelete)
        deleteLater();
}
