#version 150 core

// Depth pass: the fixed-function depth write is all the shadow map needs.

void main()
{
}
