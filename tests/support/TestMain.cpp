// The main of every GoogleTest program: the toolkit is prepared once, as the program does.
#include "platform/Forms.h"

#include <gmock/gmock.h>

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    tk::Application->Initialize();
    return RUN_ALL_TESTS();
}
