// The library `imagenes` is only its Qt resources (see CMakeLists.txt); this
// file gives the static library the one object file that CMake asks for.
namespace imagenes {
int version() {
    return 1;
}
} // namespace imagenes
