#include "app/CTapoApp.h"

int main(int argc, char** argv) {
    quirtel::CTapoApp app(argc, argv);
    return app.Run();
}
