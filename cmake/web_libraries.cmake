# The browser build (Emscripten): OpenGL ES 3.0 is WebGL 2, whose entry points
# emcc links by itself, and there is no GLEW. These empty targets stand in
# for the desktop's GL libraries, so the subsystems link as they do there.
add_library(GLEW::GLEW INTERFACE IMPORTED)
add_library(OpenGL::GL INTERFACE IMPORTED)

# The default scene the page packs: written by the native build's
# tidemoor-assets (scripts/web builds it first).
get_filename_component(tidemoor_native_scene "${CMAKE_CURRENT_LIST_DIR}/../build/scene" ABSOLUTE)
set(TIDEMOOR_WEB_SCENE "${tidemoor_native_scene}"
    CACHE PATH "The default scene written by the native build, packed into the page as /scene")
