#include "WriteFlusher.h"

#include "EditorMessages.h"
#include "EditorPrompts.h"
#include "ShopDocument.h"

#include <QTimer>

WriteFlusher::WriteFlusher(ShopDocument &document, EditorPrompts &prompts, QObject *parent)
    : QObject(parent), m_document(document), m_prompts(prompts), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDelay);
    connect(m_timer, &QTimer::timeout, this, &WriteFlusher::flushNow);
}

void WriteFlusher::flushSoon()
{
    if (!m_timer->isActive())
        m_timer->start();
}

bool WriteFlusher::flushNow()
{
    m_timer->stop();
    if (!m_document.isOpen() || m_document.image().sync() == rom::RomError::None)
        return true;
    m_prompts.showError(EditorMessages::flushFailure(m_document.fileName()));
    return false;
}

void WriteFlusher::stop() { m_timer->stop(); }

void WriteFlusher::setDelay(std::chrono::milliseconds delay) { m_timer->setInterval(delay); }
