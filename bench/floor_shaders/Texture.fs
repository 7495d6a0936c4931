#version 150 core

// Floor of the lit pass: one colour texture read per fragment.

uniform sampler2D firstTexture; // unit 1: colour

in vec2 surfaceCoord;

out vec4 fragmentColour;

void main()
{
    fragmentColour = vec4(texture(firstTexture, surfaceCoord).rgb, 1.0);
}
