#include "app/startup.h"
#include "platform/lumoinit.h"

int main(int argc, char** argv)
{
    lumoEnableHighDpi();
    return Startup::run(argc, argv);
}
