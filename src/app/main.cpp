#include "CKorvanApp.h"

int main(int argc, char** argv) {
    korvan::CKorvanApp app(argc, argv);
    if (auto status = app.startUp())
        return *status;
    return app.exec();
}
