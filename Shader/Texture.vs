#version 150 core

// Lit pass: eye-space position, normal and tangent for the lighting, the
// texture coordinate, and the position in shadow-map space.

uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix; // camera view x model
uniform mat4 shadowMatrix;    // eye space -> shadow-map texture space
uniform vec3 lightPosition;   // world space

in vec4 vertex;
in vec3 normal;
in vec3 tangent;
in vec2 texCoord;

out vec3 eyePosition;
out vec3 eyeNormal;
out vec3 eyeTangent;
out vec3 eyeToLight;
out vec2 surfaceCoord;
out vec4 shadowCoord;

void main()
{
    vec4 eye = modelViewMatrix * vertex;
    mat3 toEye = mat3(modelViewMatrix);
    eyePosition = eye.xyz;
    eyeNormal = toEye * normal;
    eyeTangent = toEye * tangent;
    // The light is far compared with the models, so it is taken as a
    // direction from the model's origin; the models turn only about the
    // vertical, which leaves an overhead light where it is.
    eyeToLight = toEye * lightPosition;
    surfaceCoord = texCoord;
    shadowCoord = shadowMatrix * eye;
    gl_Position = projectionMatrix * eye;
}
