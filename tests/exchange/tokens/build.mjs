// Builds a token file with Style Dictionary into CSS variables, as a design system's build
// would: `node build.mjs <tokens.json> <folder>` writes <folder>/farben.css. Any warning of
// Style Dictionary (a token it cannot read, names that collide) fails the build.
import StyleDictionary from 'style-dictionary';

const [source, folder] = process.argv.slice(2);
const dictionary = new StyleDictionary({
  source: [source],
  log: { warnings: 'error', verbosity: 'verbose' },
  platforms: {
    css: {
      transformGroup: 'css',
      buildPath: folder + '/',
      files: [{ destination: 'farben.css', format: 'css/variables' }],
    },
  },
});
await dictionary.buildAllPlatforms();
