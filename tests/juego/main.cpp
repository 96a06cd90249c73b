#include <QTest>

int ejecutarmundo(int argc, char** argv);
int ejecutartick(int argc, char** argv);

int main(int argc, char** argv) {
    int fallos = 0;
    fallos += ejecutarmundo(argc, argv);
    fallos += ejecutartick(argc, argv);
    return fallos;
}
