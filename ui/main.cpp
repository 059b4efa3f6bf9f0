#include <iostream>

int main() {
    std::cout << "Tallowmere "
              << "0.1.0"
              << ": the window arrives with the user-interface work.\n";
    return 0;
}
