// What tidemoor prints from start to "ready"; tidemoor-capture prints the
// same before its figures.
#pragma once

#include <string>

inline const std::string startupTranscript =
    "Init Scene...\nInit Shader......done\nInit Models...\n"
    "Loading Obj-file...BikiniBottom...done\n...creating Mesh: bikinibottom.obj\n\n"
    "Loading Obj-file...Gary...done\n...creating Mesh: gary.obj\n\n"
    "Loading Obj-file...Spongebob...done\n...creating Mesh: spongebob.obj\n\n"
    "Loading Obj-file...Patrick...done\n...creating Mesh: patrick.obj\n\n"
    "done\nLoad Mesh to Shader...\nSkybox...\nGary...\nSpongebob...\nPatrick...\ndone\n ready\n";
