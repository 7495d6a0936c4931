#version 150 core
#extension GL_ARB_texture_gather : enable

// The lit pass's texture reads and inputs with none of its arithmetic: the
// colour and normal-map reads, the four gathers of the shadow filter's 4 x 4
// block, and every interpolated input, summed so that none is optimised away.
// What this costs is as low as the real lit pass could go with the same reads.

uniform sampler2D shadowTexture;
uniform sampler2D firstTexture;
uniform sampler2D normalMap;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec3 eyeTangent;
flat in vec3 eyeLight;
flat in vec3 eyeAmbientSide;
in vec2 surfaceCoord;
in vec4 shadowCoord;

out vec4 fragmentColour;

void main()
{
    vec2 corner = shadowCoord.xy / shadowCoord.w;
    vec2 span = 2.0 / vec2(textureSize(shadowTexture, 0));
    vec4 block = textureGather(shadowTexture, corner)
               + textureGather(shadowTexture, corner + vec2(span.x, 0.0))
               + textureGather(shadowTexture, corner + vec2(0.0, span.y))
               + textureGather(shadowTexture, corner + span);
    vec3 inputs = eyePosition + eyeNormal + eyeTangent + eyeLight + eyeAmbientSide;
    fragmentColour = vec4(texture(firstTexture, surfaceCoord).rgb
                          + texture(normalMap, surfaceCoord).rgb + block.xyz * block.w + inputs,
                          1.0);
}
