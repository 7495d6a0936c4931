#version 150 core

// Floor of the lit pass: the same geometry from the same camera, with no
// lighting or shadow terms to compute.

uniform mat4 projectionMatrix;
uniform mat4 modelViewMatrix;

in vec4 vertex;
in vec2 texCoord;

out vec2 surfaceCoord;

void main()
{
    surfaceCoord = texCoord;
    gl_Position = projectionMatrix * modelViewMatrix * vertex;
}
