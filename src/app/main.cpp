// Zindra: a brick-breaking game for the mouse.
#include "app/app.h"

int main(int argc, char** argv)
{
    return startup::run(argc, argv);
}
