// Camera update and the two moves the arrow keys make.
//
// The matrices are recomputed only by updateCamera, so the moves can be
// combined freely within a frame.
#include "view/camera.h"

void updateCamera(Camera& camera) {
    lookAt(camera.viewMatrix, camera.eye.x, camera.eye.y, camera.eye.z, camera.center.x,
           camera.center.y, camera.center.z, camera.up.x, camera.up.y, camera.up.z);
    // A minimised window reports a 0 x 0 size: keep the last aspect ratio.
    if (camera.width == 0 || camera.height == 0) {
        return;
    }
    // Converted through double so any 32-bit size is exact; the quotient is
    // then rounded once to float.
    const float aspect =
        static_cast<float>(static_cast<double>(camera.width) / static_cast<double>(camera.height));
    perspective(camera.projectionMatrix, camera.fieldOfView, aspect, camera.zNear, camera.zFar);
}

void copyProjection(const Camera& camera, Matrix& destination) {
    copy(destination, camera.projectionMatrix);
}

void dollyCamera(Camera& camera, float s) {
    camera.eye.x = camera.eye.x + s * (camera.center.x - camera.eye.x);
    camera.eye.y = camera.eye.y + s * (camera.center.y - camera.eye.y);
    camera.eye.z = camera.eye.z + s * (camera.center.z - camera.eye.z);
}

void swingCamera(Camera& camera, float s) {
    // Each line reads the value the line before wrote; the z step uses the
    // new x on purpose.
    camera.eye.x = camera.eye.x + s * (camera.center.y - camera.eye.y);
    camera.eye.y = camera.eye.y + s * (camera.center.z - camera.eye.z);
    camera.eye.z = camera.eye.z + s * (camera.center.x - camera.eye.x);
}
