#include "ui/ConnectSlotsByName.h"

#include <QMetaMethod>
#include <QObject>

#include <utility>

namespace {
bool isNamedSlot(const QMetaMethod &method)
{
    return method.methodType() == QMetaMethod::Slot && !(method.attributes() & QMetaMethod::Cloned)
           && method.methodSignature().startsWith("on_");
}

// The signal of `object` that `slot` (without its "on_<object>_" prefix: `wanted`) names: the one
// with the same parameters, else one of that name whose first parameters are the slot's.
int signalFor(const QObject *object, const QByteArray &wanted, const QMetaMethod &slot)
{
    const QMetaObject *meta = object->metaObject();
    const int exact = meta->indexOfSignal(wanted.constData());
    if (exact >= 0)
        return exact;
    const QByteArray name = wanted.left(wanted.indexOf('(') + 1);
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod signal = meta->method(i);
        if (signal.methodType() == QMetaMethod::Signal && signal.methodSignature().startsWith(name)
            && QMetaObject::checkConnectArgs(signal, slot))
            return i;
    }
    return -1;
}
} // namespace

void connectSlotsByNameOnce(QObject *receiver, QSet<int> *connected)
{
    const QMetaObject *meta = receiver->metaObject();
    QList<std::pair<QByteArray, QObject *>> named; // "on_<object>_" and its object
    for (QObject *object : receiver->findChildren<QObject *>()) {
        if (!object->objectName().isEmpty())
            named.append({"on_" + object->objectName().toLatin1() + '_', object});
    }
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod slot = meta->method(i);
        if (connected->contains(i) || !isNamedSlot(slot))
            continue;
        const QByteArray signature = slot.methodSignature();
        for (const auto &[prefix, object] : std::as_const(named)) {
            if (!signature.startsWith(prefix))
                continue;
            const int signal = signalFor(object, signature.mid(prefix.size()), slot);
            if (signal >= 0 && QObject::connect(object, object->metaObject()->method(signal), receiver, slot)) {
                connected->insert(i);
                break;
            }
        }
    }
}

void warnUnconnectedSlots(const QObject *receiver, const QSet<int> &connected)
{
    const QMetaObject *meta = receiver->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        if (!connected.contains(i) && isNamedSlot(meta->method(i)))
            qWarning("QMetaObject::connectSlotsByName: No matching signal for %s",
                     meta->method(i).methodSignature().constData());
    }
}
