#include "support/lumotest.h"

// The start-up of the program as far as the layers a test links reach: each folder of tests/
// builds this file with LUMO_TEST_<layer> defined for the layers at or below its own.
#ifdef LUMO_TEST_APP
#include "app/startup.h"
#endif
#ifdef LUMO_TEST_DECODING
#include "decoding/decoderpool.h"
#endif
#ifdef LUMO_TEST_DIALOGS
#include "dialogs/registeradjustmentdialogs.h"
#endif
#ifdef LUMO_TEST_PLATFORM
#include "platform/lumofm/core.h"
#include "platform/lumoinit.h"
#endif
#ifdef LUMO_TEST_SETTINGS
#include "settings/settings.h"
#endif

namespace lumotest {

void initApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("lumo"));
    QCoreApplication::setApplicationName(QStringLiteral("lumo-image"));
#ifdef LUMO_TEST_DECODING
    DecoderPool::shared().setProgram(QStringLiteral(LUMO_DECODER_PATH));
#endif
#ifdef LUMO_TEST_APP
    lumoInit(Startup::version(), Startup::description());
#elif defined(LUMO_TEST_PLATFORM)
    lumoInit(QStringLiteral(LUMO_VERSION), QString());
#endif
#ifdef LUMO_TEST_PLATFORM
    LumoFM::Core::initialize();
#endif
#ifdef LUMO_TEST_DIALOGS
    registerAdjustmentDialogs();
#endif
}

void flushSettings()
{
#ifdef LUMO_TEST_SETTINGS
    Settings::sync();
#endif
}

} // namespace lumotest
