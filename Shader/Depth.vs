#version 150 core

// Depth pass: the model seen from the light. Only depth is written.

uniform mat4 modelMatrix;
uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix; // light view x model
uniform vec3 lightPosition;

in vec4 vertex;

void main()
{
    // Two matrix-vector products rather than a matrix product per vertex.
    gl_Position = projectionMatrix * (modelViewMatrix * vertex);
}
