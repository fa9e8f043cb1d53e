#pragma once

#include "digitalmatrix_export.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>

class QObject;

namespace LUMO_DIGITALMATRIX_MODULE {

// Makes a process-wide object a child of the application object and lets it live on
// the application's thread, whichever thread created it. Without an application
// object the object stays unparented on its own thread.
DIGITALMATRIX_EXPORT void adoptByApplication(QObject *object);

// The one instance of a process-wide QObject T (class T : public QObject, public
// ProcessSingleton<T>, with ProcessSingleton<T> a friend so that it can call T's
// constructor T(QObject *parent)). The instance is read without the lock and created once
// under it, parented to the application object. Whoever deletes it (release() or the
// application object), this destructor clears the instance under the lock, so that
// instance() and release() stay safe in any order and a caller holding the lock finishes
// before the object goes. T declares its own exported instance() and release() and
// forwards them here, so that only the library uses the instance and its lock.
template<typename T>
class ProcessSingleton
{
public:
    ProcessSingleton(const ProcessSingleton &) = delete;
    ProcessSingleton &operator=(const ProcessSingleton &) = delete;

protected:
    ProcessSingleton() = default;
    ~ProcessSingleton()
    {
        QMutexLocker locker(&s_mutex);
        ProcessSingleton *self = this;
        s_instance.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
    }

    static T *instanceOrCreate()
    {
        if (ProcessSingleton *object = s_instance.load(std::memory_order_acquire))
            return static_cast<T *>(object);
        QMutexLocker locker(&s_mutex);
        return createLocked();
    }

    // Deletes the instance, if there is one; the next instanceOrCreate() makes a new one.
    static void releaseInstance()
    {
        ProcessSingleton *object = nullptr;
        {
            QMutexLocker locker(&s_mutex);
            object = s_instance.exchange(nullptr, std::memory_order_acq_rel);
        }
        delete static_cast<T *>(object);
    }

    // With lockMutex() held: the instance or null, and the instance made if there is none.
    static T *currentLocked()
    {
        return static_cast<T *>(s_instance.load(std::memory_order_acquire));
    }
    static T *createLocked()
    {
        ProcessSingleton *object = s_instance.load(std::memory_order_relaxed);
        if (object)
            return static_cast<T *>(object);
        T *created = new T(nullptr);
        adoptByApplication(created);
        s_instance.store(created, std::memory_order_release);
        return created;
    }
    static QMutex &lockMutex() { return s_mutex; }

private:
    static std::atomic<ProcessSingleton *> s_instance;
    static QMutex s_mutex;
};

template<typename T>
std::atomic<ProcessSingleton<T> *> ProcessSingleton<T>::s_instance {nullptr};
template<typename T>
QMutex ProcessSingleton<T>::s_mutex;

} // namespace LUMO_DIGITALMATRIX_MODULE
