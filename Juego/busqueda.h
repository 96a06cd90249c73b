#pragma once

namespace juego {

// Working data of the path search, shared by all fighters.
class busqueda {};

} // namespace juego
