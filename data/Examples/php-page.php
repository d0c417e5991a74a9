<?php
// Values the page prints. Everything printed into the page goes through
// htmlspecialchars(), so a value can never turn into markup.
declare(strict_types=1);

$siteName = 'Site name';
$pageTitle = 'Welcome';
$tasks = ['Plan the page', 'Write the content', 'Publish it'];

function e(string $text): string
{
    return htmlspecialchars($text, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
}
?>
<!DOCTYPE html>
<html lang="en">
<head>
  <meta charset="utf-8">
  <meta name="viewport" content="width=device-width, initial-scale=1">
  <title><?= e($pageTitle . ' - ' . $siteName) ?></title>
  <style>
    *, *::before, *::after { box-sizing: border-box; }
    body {
      margin: 0;
      font-family: system-ui, -apple-system, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif;
      line-height: 1.6;
      color: #24292f;
      background: #f6f8fa;
    }
    a { color: #4f3cc9; }
    a:focus-visible { outline: 3px solid #bf8700; outline-offset: 2px; }
    .wrap { width: min(100% - 2rem, 46rem); margin-inline: auto; }
    header { background: #4f3cc9; color: #ffffff; padding-block: 1.25rem; }
    header p { margin: 0; font-weight: 700; font-size: 1.2rem; }
    main { background: #ffffff; border-radius: .5rem; padding: 1.5rem; margin-block: 2rem; }
    footer { color: #57606a; padding-bottom: 2rem; }
  </style>
</head>
<body>
  <header>
    <div class="wrap">
      <p><?= e($siteName) ?></p>
    </div>
  </header>

  <main class="wrap">
    <h1>Welcome</h1>
    <p>This page is put together on the server by PHP. Change the values at the top of the file, or read
    them from a database or a form.</p>

    <h2>Next steps</h2>
    <ol>
      <?php foreach ($tasks as $task): ?>
        <li><?= e($task) ?></li>
      <?php endforeach; ?>
    </ol>
  </main>

  <footer class="wrap">
    <p>&copy; <?= date('Y') ?> <?= e($siteName) ?></p>
  </footer>
</body>
</html>
