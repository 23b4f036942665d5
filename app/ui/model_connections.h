#pragma once

#include <QList>
#include <QObject>
#include <initializer_list>

class WorkspaceModel;

// The connections a view keeps to the model it currently shows, so that
// switching to another section's model drops them all in one place.
class ModelConnections {
public:
    using Signal = void (WorkspaceModel::*)();

    ModelConnections() = default;
    // Dropped with their owner's members, before its child widgets go.
    ~ModelConnections() { clear(); }
    ModelConnections(const ModelConnections&) = delete;
    ModelConnections& operator=(const ModelConnections&) = delete;

    // Drops every connection made so far.
    void clear()
    {
        for (const auto& connection : std::as_const(connections_))
            QObject::disconnect(connection);
        connections_.clear();
    }

    // Calls `slot` on `receiver` whenever any of `signals` of `model` fires.
    template <typename Receiver, typename Slot>
    void follow(WorkspaceModel* model, std::initializer_list<Signal> signals, Receiver* receiver,
                Slot slot, Qt::ConnectionType type = Qt::AutoConnection)
    {
        if (!model) return;
        for (Signal signal : signals)
            connections_ << QObject::connect(model, signal, receiver, slot, type);
    }

    // Keeps a connection made by hand (to a signal with arguments) with the others.
    void keep(const QMetaObject::Connection& connection) { connections_ << connection; }

private:
    QList<QMetaObject::Connection> connections_;
};
