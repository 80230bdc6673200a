#include "app/BrevixApp.h"

int main(int argc, char** argv) {
    CBrevixApp app(argc, argv);
    return app.InitInstance();
}
