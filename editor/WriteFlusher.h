#pragma once

#include <QObject>

#include <chrono>

class EditorPrompts;
class QTimer;
class ShopDocument;

// Makes the open image's writes durable: at once for an explicit save, or
// together within a while for the writes made by moving between shops. A
// flush that fails is reported.
class WriteFlusher : public QObject {
    Q_OBJECT

public:
    // Writes made by moving reach the disk together, this long after the first.
    static constexpr std::chrono::milliseconds kDelay{1000};

    WriteFlusher(ShopDocument &document, EditorPrompts &prompts, QObject *parent = nullptr);

    void flushSoon();
    // False if the data may not be on the disk (reported).
    bool flushNow();
    // The image closes, flushing what it holds: nothing is left to flush.
    void stop();
    // Tests shorten the delay rather than wait a second.
    void setDelay(std::chrono::milliseconds delay);

private:
    ShopDocument &m_document;
    EditorPrompts &m_prompts;
    QTimer *m_timer;
};
