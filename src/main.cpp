// kovantis: the desktop configuration program of the keyboard.
#include "ui/shell/kovantis_app.h"

int main(int argc, char** argv)
{
    return kovantis::RunKovantis(argc, argv);
}
