#pragma once

#include <QByteArray>
#include <QtGlobal>

// The tests and benchmarks of the windows draw offscreen unless a platform is asked for
// (QT_QPA_PLATFORM), so that they run without a display. Called before the application is made.
inline void UseOffscreenPlatformUnlessAsked()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
