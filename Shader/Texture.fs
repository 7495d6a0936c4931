#version 150 core

// Lit pass: Blinn-Phong lighting with an optional colour texture, tangent-space
// normal mapping and soft shadows filtered by hand from the plain depth map.

uniform sampler2D shadowTexture; // unit 0: depth seen from the light
uniform sampler2D firstTexture;  // unit 1: colour
uniform sampler2D normalMap;     // unit 2: tangent-space normals
uniform vec4 ambient;
uniform vec4 diffuse;
uniform vec4 specular;
uniform int useNormalMapping;
uniform int useTexture;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec3 eyeTangent;
in vec3 eyeToLight;
in vec3 eyeAmbientSide;
in vec2 surfaceCoord;
in vec4 shadowCoord;

out vec4 fragmentColour;

// Share of the light that reaches this point: 1 lit, 0 in full shadow.
// Percentage-closer filtering over a 4 x 4 block of shadow-map texels,
// weighted bilinearly at the edges, so shadow borders are soft. Points
// outside the light's view are lit.
float lightReaching()
{
    if (shadowCoord.w <= 0.0)
        return 1.0;
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    if (coord.x <= 0.0 || coord.x >= 1.0 || coord.y <= 0.0 || coord.y >= 1.0 || coord.z >= 1.0)
        return 1.0;

    vec2 size = vec2(textureSize(shadowTexture, 0));
    vec2 texel = coord.xy * size - 0.5;
    vec2 base = floor(texel);
    vec2 blend = texel - base;
    // A small slope-independent margin on top of the depth pass's polygon
    // offset keeps lit surfaces from shadowing themselves.
    float depth = coord.z - 0.0005;

    float lit = 0.0;
    for (int y = -1; y <= 2; ++y) {
        for (int x = -1; x <= 2; ++x) {
            vec2 at = (base + vec2(x, y) + 0.5) / size;
            float inLight = depth <= texture(shadowTexture, at).r ? 1.0 : 0.0;
            float weightX = x == -1 ? 1.0 - blend.x : (x == 2 ? blend.x : 1.0);
            float weightY = y == -1 ? 1.0 - blend.y : (y == 2 ? blend.y : 1.0);
            lit += inLight * weightX * weightY;
        }
    }
    return lit / 9.0;
}

void main()
{
    vec3 n = normalize(eyeNormal);
    if (useNormalMapping != 0) {
        // Gram-Schmidt: the interpolated tangent is made orthogonal to the
        // interpolated normal again before the frame is built.
        vec3 t = eyeTangent - n * dot(n, eyeTangent);
        if (dot(t, t) > 1e-12) {
            t = normalize(t);
            vec3 b = cross(n, t);
            vec3 m = texture(normalMap, surfaceCoord).rgb * 2.0 - 1.0;
            n = normalize(t * m.x + b * m.y + n * m.z);
        }
    }

    vec4 colour = diffuse;
    if (useTexture != 0)
        colour = texture(firstTexture, surfaceCoord);

    vec3 toLight = normalize(eyeToLight);
    vec3 toViewer = normalize(-eyePosition);
    vec3 halfway = normalize(toLight + toViewer);
    float diffuseShare = max(dot(n, toLight), 0.0);
    float specularShare = diffuseShare > 0.0 ? pow(max(dot(n, halfway), 0.0), 32.0) : 0.0;

    float light = lightReaching();
    float ambientShare = 0.75 + 0.25 * dot(n, normalize(eyeAmbientSide));
    vec3 lit = ambientShare * ambient.rgb * colour.rgb
             + light * (diffuseShare * colour.rgb + specularShare * specular.rgb * 0.5);
    fragmentColour = vec4(lit, 1.0);
}
