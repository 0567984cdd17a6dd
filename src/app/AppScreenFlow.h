#pragma once

#include "ScreenFlow.h"

#include <QHash>
#include <QPointer>

class QWidget;

namespace gt {

class GatetallyState;
class Navigator;
class Prompts;
class Receiver;

// The program's screen flow on the navigator: the one place that knows how
// each screen is made and whether it sets the main screen aside.
class AppScreenFlow : public ScreenFlow
{
public:
    AppScreenFlow(GatetallyState &state, Prompts &prompts, Navigator &navigator);

    // The comm port dialog works on the receiver; without one it does not open.
    void setReceiver(Receiver *receiver) { m_receiver = receiver; }

    void open(Screen screen, QWidget *from = nullptr) override;

    // The open instance of a screen, if any.
    QWidget *openScreen(Screen screen) const { return m_open.value(screen); }

private:
    // A new instance of the screen, and whether it sets the main screen aside.
    QWidget *make(Screen screen, bool *setsMainAside);

    GatetallyState &m_state;
    Prompts &m_prompts;
    Navigator &m_navigator;
    QPointer<Receiver> m_receiver;
    QHash<Screen, QPointer<QWidget>> m_open;
};

} // namespace gt
