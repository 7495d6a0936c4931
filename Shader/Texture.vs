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
// The light's position and the ambient side are the same for every vertex of
// a draw: flat, so the rasteriser sets up and interpolates nothing for them.
flat out vec3 eyeLight;
flat out vec3 eyeAmbientSide;
out vec2 surfaceCoord;
out vec4 shadowCoord;

void main()
{
    vec4 eye = modelViewMatrix * vertex;
    mat3 toEye = mat3(modelViewMatrix);
    eyePosition = eye.xyz;
    eyeNormal = toEye * normal;
    eyeTangent = toEye * tangent;
    // The light that casts the shadows sits at the origin of the light's
    // view. The shadow matrix maps eye space to that view (through the
    // camera's projection and the bias), so its inverse brings the light's
    // origin back into eye space. Lighting from there keeps highlights and
    // shadows in agreement for every model, however it is turned.
    const mat4 bias = mat4(0.5, 0.0, 0.0, 0.0, 0.0, 0.5, 0.0, 0.0,
                           0.0, 0.0, 0.5, 0.0, 0.5, 0.5, 0.5, 1.0);
    vec4 light = inverse(shadowMatrix) * (bias * (projectionMatrix * vec4(0.0, 0.0, 0.0, 1.0)));
    eyeLight = light.xyz / light.w;
    // The ambient light is a little stronger on the side the model's light
    // stands: far away compared with the model, so taken as a direction in
    // the model's own frame.
    eyeAmbientSide = normalize(toEye * lightPosition);
    surfaceCoord = texCoord;
    shadowCoord = shadowMatrix * eye;
    gl_Position = projectionMatrix * eye;
}
