# The libraries of the Windows cross build that have no CMake package of
# their own there: GLEW, built static by scripts/setup-win32, and GLM, whose
# headers it links into the same prefix. GoogleTest installs its own package.
find_library(TIDEMOOR_GLEW_LIBRARY glew32s REQUIRED)
find_path(TIDEMOOR_GLEW_INCLUDE GL/glew.h REQUIRED)
add_library(GLEW::GLEW STATIC IMPORTED)
set_target_properties(GLEW::GLEW PROPERTIES
  IMPORTED_LOCATION ${TIDEMOOR_GLEW_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${TIDEMOOR_GLEW_INCLUDE}
  INTERFACE_COMPILE_DEFINITIONS GLEW_STATIC
  INTERFACE_LINK_LIBRARIES OpenGL::GL)

find_path(TIDEMOOR_GLM_INCLUDE glm/glm.hpp REQUIRED)
add_library(glm::glm INTERFACE IMPORTED)
set_target_properties(glm::glm PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${TIDEMOOR_GLM_INCLUDE})
